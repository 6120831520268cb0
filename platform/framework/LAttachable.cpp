#include "framework/LAttachable.h"

#include "framework/LAttachment.h"

LAttachable* LAttachable::sDefaultAttachable = nullptr;

LAttachable::~LAttachable() {
  if (sDefaultAttachable == this) sDefaultAttachable = nullptr;
  DeleteAttachments();
}

void LAttachable::DeleteAttachments() {
  // An owned attachment's destructor removes it from both lists.
  LAttachment* attachment = nullptr;
  while (mOwned.FetchItemAt(1, attachment)) delete attachment;
  RemoveAllAttachments();
}

void LAttachable::AddAttachment(LAttachment* attachment, LAttachment* before, bool owns) {
  if (!attachment) return;
  if (attachment->mOwnerHost) attachment->mOwnerHost->RemoveAttachment(attachment);
  ArrayIndexT at = before ? mAttachments.FetchIndexOf(before) : TArray<LAttachment*>::index_Last;
  if (at == TArray<LAttachment*>::index_Bad) at = TArray<LAttachment*>::index_Last;
  mAttachments.InsertItemsAt(1, at, attachment);
  if (owns) mOwned.AddItem(attachment);
  attachment->mOwnerHost = this;
}

void LAttachable::RemoveAttachment(LAttachment* attachment) {
  if (!attachment || attachment->mOwnerHost != this) return;
  mAttachments.Remove(attachment);
  mOwned.Remove(attachment);
  attachment->mOwnerHost = nullptr;
}

void LAttachable::RemoveAllAttachments() {
  LAttachment* attachment = nullptr;
  while (mAttachments.FetchItemAt(1, attachment)) RemoveAttachment(attachment);
}

bool LAttachable::ExecuteAttachments(MessageT message, void* param) {
  bool executeHost = true;
  LAttachable* savedDefault = sDefaultAttachable;
  sDefaultAttachable = this;
  // The iterator follows removals, so an attachment may remove or delete itself.
  TArrayIterator<LAttachment*> iterator(mAttachments);
  LAttachment* attachment = nullptr;
  while (iterator.Next(attachment)) executeHost = attachment->Execute(message, param) && executeHost;
  sDefaultAttachable = savedDefault;
  return executeHost;
}
