// A small tree of folders and files for the chooser: documents, a sub-folder, a dot-file,
// applications (a program and a desktop entry), a package and links.
#pragma once

#include <filesystem>
#include <string>

#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace wxtest {

// Makes the tree under `root`:
//   docs/{a.pdf, b.txt, .hidden, sub/c.pdf}
//   apps/{viewer.desktop (Name=Image Viewer), tool (a "#!" program), Viewer.app (package,
//   'APPL'), Data.pkg (package, 'BNDL')}
//   link-to-docs -> docs, link-to-a -> docs/a.pdf
void MakeChooserTree(const std::filesystem::path& root);
FSSpec SpecAt(const std::filesystem::path& path);
// The path an FSSpec names ("" when it names nothing).
std::string SpecPathText(const FSSpec& spec);

}  // namespace wxtest
