#include "framework/UMarchingAnts.h"

#include "quickdraw/QuickDraw.h"

void UMarchingAnts::UseAntsPattern() {
  static const Pattern kAnts = {{0xF8, 0xF1, 0xE3, 0xC7, 0x8F, 0x1F, 0x3E, 0x7C}};
  PenPat(&kAnts);
}
