#include "framework/LAttachment.h"

#include "framework/LAttachable.h"
#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"

LAttachment::LAttachment(MessageT message, bool executeHost) : mMessage(message), mExecuteHost(executeHost) {}

LAttachment::LAttachment(LStream* stream) : mMessage(msg_AnyMessage), mExecuteHost(true) {
  Boolean executeHost = true;
  ReadLayoutFields<layout::kAttachment>(*stream, mMessage, executeHost);
  mExecuteHost = executeHost != 0;
}

LAttachment::~LAttachment() {
  if (mDestroyed) *mDestroyed = true;
  if (mOwnerHost) mOwnerHost->RemoveAttachment(this);
}

bool LAttachment::Execute(MessageT message, void* param) {
  if (mMessage != msg_AnyMessage && mMessage != message) return true;
  // ExecuteSelf may change the flag, or delete this attachment (the host then goes on).
  bool destroyed = false;
  bool* outer = mDestroyed;
  mDestroyed = &destroyed;
  ExecuteSelf(message, param);
  if (destroyed) {
    if (outer) *outer = true;
    return true;
  }
  mDestroyed = outer;
  return mExecuteHost;
}
