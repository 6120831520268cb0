// A stream over a relocatable block that grows as it is written. The stream owns its
// handle unless the handle is detached.
#pragma once

#include "framework/LStream.h"

class LHandleStream : public LStream {
 public:
  LHandleStream();
  // Takes ownership of `data` (its whole size is the stream's length).
  explicit LHandleStream(Handle data);
  ~LHandleStream() override;

  void SetLength(SInt32 length) override;
  ExceptionCode PutBytes(const void* buffer, SInt32& count) override;
  ExceptionCode GetBytes(void* buffer, SInt32& count) override;

  Handle GetDataHandle() const { return mData; }
  // Gives up the handle (the caller disposes of it) and leaves the stream empty.
  Handle DetachDataHandle();

 private:
  Handle mData;
};
