// Help books: a help book is a folder of HTML pages (a bundle with Contents/Info.plist, or a
// plain folder), opened in the desktop's browser.
//
// The opener is the program named by the environment variable WX_OPENER (default xdg-open),
// run with the page's file URL; the call waits for it to hand the page over and fails when
// it reports an error.
#pragma once

#include <string>

#include "toolbox/Files.h"
#include "toolbox/MacTypes.h"

enum : OSStatus { kAHInternalErr = -10790, kAHInternalErrNoBook = -10791 };

// Registers the help book in folder `bookFolder` under the folder's name and under its
// CFBundleHelpBookName in the Info.plist and in every localization's InfoPlist.strings.
OSStatus AHRegisterHelpBook(const FSRef* bookFolder);
// Opens `path` (relative to the book; null or empty: "index.html") of the registered book
// `bookName` (UTF-8), at `anchor` when one is given. fnfErr when the page is missing,
// kAHInternalErrNoBook for a book never registered.
OSStatus AHGotoPage(const char* bookName, const char* path, const char* anchor);

// The file URL that AHGotoPage hands to the opener (for tests and diagnostics).
std::string AHPageURL(const std::string& file, const char* anchor);
// Forgets every registered book (tests).
void AHForgetHelpBooks();
