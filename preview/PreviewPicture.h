// Loading a page file for display, shared by the thumbnails and the enlarged preview: the
// page is drawn from the file straight into the rectangle the caller fits (the pixels a
// scaled copy of the full-size page would take), matched from its source profile to the
// screen's and turned.
#pragma once

#include <functional>
#include <memory>

#include "framework/LStr255.h"
#include "toolbox/Files.h"

class LGWorld;

namespace PreviewPicture {

// The picture's rectangle, before turning, for a page of w x h pixels.
typedef std::function<Rect(SInt32 w, SInt32 h)> FitFunc;

// A 32-bit world of `bounds`, from temporary memory first and the heap when that fails;
// throws the memory error when neither has room.
LGWorld* NewWorld(const Rect& bounds);
// The page drawn into a new world of the rectangle `fit` gives for its natural size, or null
// when the importer cannot decode it. On systems that cannot copy wide pages the world stays
// blank unless `draw`. Throws as NewWorld.
std::unique_ptr<LGWorld> Decode(const FSSpec& file, const FitFunc& fit, bool draw);
// The page at its natural size, or null when the importer cannot decode it.
std::unique_ptr<LGWorld> Decode(const FSSpec& file);
// Matches the picture from the installed profile named `sourceName` to the screen's; left
// as it is when either profile is missing.
void MatchToScreen(LGWorld* picture, const LStr255& sourceName);
// The loaded picture, or null when the file cannot be decoded or no world can be had.
LGWorld* Load(const FSSpec& file, long rotation, const LStr255& sourceName, const FitFunc& fit);
// `picture` turned clockwise by `degrees` into a new world from temporary memory only;
// throws when it cannot be had, leaving `picture` as it was.
LGWorld* Turn(LGWorld* picture, long degrees);

}  // namespace PreviewPicture
