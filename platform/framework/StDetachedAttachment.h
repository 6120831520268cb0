// A host's first attachment taken off for the object's life, so a page area prints without
// what it shows on screen, and put back in front, owned by the host, on every way out.
#pragma once

#include "framework/LAttachable.h"
#include "framework/LAttachment.h"

class StDetachedAttachment {
 public:
  explicit StDetachedAttachment(LAttachable& host) : mHost(host) {
    if (host.GetAttachmentsList()->FetchItemAt(1, mAttachment)) host.RemoveAttachment(mAttachment);
  }
  // In front again, so the same one comes off for the next job.
  ~StDetachedAttachment() {
    if (!mAttachment) return;
    LAttachment* first = nullptr;
    mHost.GetAttachmentsList()->FetchItemAt(1, first);
    mHost.AddAttachment(mAttachment, first, true);
  }
  StDetachedAttachment(const StDetachedAttachment&) = delete;
  StDetachedAttachment& operator=(const StDetachedAttachment&) = delete;

 private:
  LAttachable& mHost;
  LAttachment* mAttachment = nullptr;
};
