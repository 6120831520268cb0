// A host of attachments. Owned attachments are deleted with the host; RemoveAttachment
// detaches one without deleting it, so it can be attached again later.
#pragma once

#include "framework/FrameworkTypes.h"
#include "framework/TArray.h"

class LAttachment;

class LAttachable {
 public:
  LAttachable() = default;
  LAttachable(const LAttachable&) = delete;
  LAttachable& operator=(const LAttachable&) = delete;
  virtual ~LAttachable();

  // Adds `attachment` before `before` (at the end when null). With `owns`, the host deletes
  // it when the host goes.
  virtual void AddAttachment(LAttachment* attachment, LAttachment* before = nullptr, bool owns = true);
  virtual void RemoveAttachment(LAttachment* attachment);
  void RemoveAllAttachments();
  // Deletes the attachments this host owns and lets go of the others.
  void DeleteAttachments();

  // Offers the message to every attachment in order; false when any of them says the host
  // should not handle it.
  bool ExecuteAttachments(MessageT message, void* param);

  TArray<LAttachment*>* GetAttachmentsList() { return &mAttachments; }

 private:
  TArray<LAttachment*> mAttachments;
  TArray<LAttachment*> mOwned;
  static LAttachable* sDefaultAttachable;
};
