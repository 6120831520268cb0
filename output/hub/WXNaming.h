// Names of written files: base name, optional serial number, extension by file type, in the
// chosen folder or in today's dated subfolder. A name is free only when no file of the same
// stem exists with any of the four output extensions.
#pragma once

#include <vector>

#include "toolbox/MacTypes.h"

namespace CWXUtility {

// The extension of an output file type (".JPG", ".TIF", ".PDF", ".PIC"), or "".
const char* ExtensionOf(OSType fileType);

// Today's "%04d-%02d-%02d".
void DayFolderName(Str255 name);

void create_finalfile_spec(ConstStr255Param baseName, const FSSpec& folder, FSSpec* outSpec, long dayFolder,
                           const OSType* fileType, unsigned char alwaysNumber, unsigned char underscore);

// The same for pages named together: a candidate equal to one of `takenNames` (the display
// names of the pages) is taken too, and numbered stems are cut to 16 bytes first.
void create_Previewfile_spec(ConstStr255Param baseName, const FSSpec& folder, FSSpec* outSpec, long dayFolder,
                             const OSType* fileType, unsigned char alwaysNumber,
                             const std::vector<std::vector<unsigned char>>& takenNames, unsigned char underscore);

}  // namespace CWXUtility
