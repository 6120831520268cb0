// The drag's drop location as a descriptor: a receiver that takes a drag sets a Boolean
// true; a drag dropped anywhere else leaves a null descriptor, so a sender that coerces it
// to Boolean gets errAECoercionFail.
#pragma once

#include "appservices/AppleEvents.h"
#include "windows/Drag.h"

// errAECoercionFail when `dropLocation` is no Boolean.
OSErr SetDropLocation(DragRef drag, const AEDesc* dropLocation);
// A new descriptor (the caller disposes it).
OSErr GetDropLocation(DragRef drag, AEDesc* dropLocation);
