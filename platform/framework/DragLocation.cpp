#include "framework/DragLocation.h"

#include "toolbox/MacErrors.h"

OSErr SetDropLocation(DragRef drag, const AEDesc* dropLocation) {
  if (!dropLocation) return paramErr;
  AEDesc boolean;
  OSErr err = AECoerceDesc(dropLocation, typeBoolean, &boolean);
  if (err != noErr) return err;
  Boolean value = false;
  AEGetDescData(&boolean, &value, 1);
  AEDisposeDesc(&boolean);
  return SetDropLocationAccepted(drag, value);
}

OSErr GetDropLocation(DragRef drag, AEDesc* dropLocation) {
  if (!dropLocation) return paramErr;
  AEInitializeDesc(dropLocation);
  Boolean accepted = false;
  OSErr err = GetDropLocationAccepted(drag, &accepted);
  if (err != noErr || !accepted) return err;
  const Boolean value = true;
  return AECreateDesc(typeBoolean, &value, 1, dropLocation);
}
