// Initial contents of an EXIF_PREF record.
#pragma once

#include "prefs/PrefRecords.h"

namespace CWXUtility {

// Fills the record with its initial values; `modelName` becomes the Exif model text.
void InitExifInfo(RecordBytes exif, ConstStr255Param modelName);
// The same, with the model name configured in the preferences file.
void InitExifInfo(RecordBytes exif);

}  // namespace CWXUtility
