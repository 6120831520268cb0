// Behaviour added to a host from outside. The host offers messages (events, clicks, key
// presses, cursor adjustment, drawing) to its attachments before handling them itself; an
// attachment whose "execute host" flag is off stops the host's own handling.
#pragma once

#include "framework/FrameworkTypes.h"

class LAttachable;
class LStream;

class LAttachment {
 public:
  static constexpr ClassIDT class_ID = 'atch';

  explicit LAttachment(MessageT message = msg_AnyMessage, bool executeHost = true);
  // Layout data: layout::kAttachment (framework/LayoutFields.h).
  explicit LAttachment(LStream* stream);
  LAttachment(const LAttachment&) = delete;
  LAttachment& operator=(const LAttachment&) = delete;
  virtual ~LAttachment();

  // Runs ExecuteSelf when the message is this attachment's; returns whether the host
  // should go on with its own handling.
  virtual bool Execute(MessageT message, void* param);

  MessageT GetMessage() const { return mMessage; }
  void SetMessage(MessageT message) { mMessage = message; }
  bool GetExecuteHost() const { return mExecuteHost; }
  void SetExecuteHost(bool executeHost) { mExecuteHost = executeHost; }
  LAttachable* GetOwnerHost() const { return mOwnerHost; }

 protected:
  virtual void ExecuteSelf(MessageT message, void* param) = 0;

 private:
  friend class LAttachable;

  MessageT mMessage;
  bool mExecuteHost;
  LAttachable* mOwnerHost = nullptr;
  bool* mDestroyed = nullptr;
};
