// A stream over a buffer that someone else owns. Its length never grows past the buffer.
#pragma once

#include "framework/LStream.h"

class LDataStream : public LStream {
 public:
  LDataStream(void* buffer, SInt32 size);
  LDataStream(const void* buffer, SInt32 size);  // read-only

  void SetLength(SInt32 length) override;
  ExceptionCode PutBytes(const void* buffer, SInt32& count) override;
  ExceptionCode GetBytes(void* buffer, SInt32& count) override;

 private:
  UInt8* mBuffer;
  SInt32 mCapacity;
  bool mReadOnly;
};
