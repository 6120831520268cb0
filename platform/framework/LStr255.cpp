#include "framework/LStr255.h"

#include "toolbox/Resources.h"

LStr255::LStr255(ResIDT listID, SInt16 index) : LStr255() { GetIndString(mStorage, listID, index); }
