// The check of a finished TWAIN scan's image widths, which ends the connection when one
// page is too wide to be written.
#pragma once

#include "toolbox/MacTypes.h"

class CTWAIN;
class LCommander;

namespace CWXUtility {

constexpr long kMaxImageWidth = 4096;  // this width and above cannot be written

// 1 when an image the connection received is kMaxImageWidth pixels wide or more: the
// connection is deleted, `twain` set to null, and error-list item 28 shown over
// `commander`. 0 otherwise (and for a null connection).
long CheckImageWidthOver(CTWAIN*& twain, LCommander* commander);

}  // namespace CWXUtility
