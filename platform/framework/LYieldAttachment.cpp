#include "framework/LYieldAttachment.h"

#include "framework/LThread.h"

void LYieldAttachment::ExecuteSelf(MessageT, void*) { LThread::Yield(); }
