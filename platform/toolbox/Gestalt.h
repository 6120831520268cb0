// Gestalt: what the system reports about itself. The answers are fixed for this platform
// ('sysv' is a late system, so the newer code paths run) and tests may change them to
// reach the older branches.
#pragma once

#include "toolbox/MacTypes.h"

// gestaltUndefSelectorErr for a selector nobody answers.
OSErr Gestalt(OSType selector, SInt32* response);

// Selectors the system asks.
constexpr OSType gestaltSystemVersion = 'sysv';
constexpr OSType gestaltAppearanceAttr = 'appr';
constexpr OSType gestaltThreadMgrAttr = 'thds';
constexpr OSType gestaltPowerPCProcessorFeatures = 'ppcf';
constexpr int gestaltPowerPCHasVectorInstructions = 4;  // bit of 'ppcf'

// Test hooks: answer `value` for `selector` from now on, or go back to the built-in answers.
void GestaltSetValue(OSType selector, SInt32 value);
void GestaltReset();
