// The dashed pen of selection frames: diagonal stripes, four pixels on and four off.
#pragma once

namespace UMarchingAnts {

// Makes the stripes the current port's pen pattern.
void UseAntsPattern();

}  // namespace UMarchingAnts
