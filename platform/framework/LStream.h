// A sequence of bytes with a marker. Numbers are read and written big-endian, as every
// stored format of the platform keeps them; Pascal strings as a length byte and the bytes.
// Reading past the end throws eofErr: a truncated layout or record never reads garbage.
#pragma once

#include "framework/FrameworkTypes.h"

enum class EStreamFrom { Start, End, Marker };

class LStream {
 public:
  LStream() = default;
  LStream(const LStream&) = delete;
  LStream& operator=(const LStream&) = delete;
  virtual ~LStream() = default;

  virtual SInt32 GetLength() const { return mLength; }
  virtual void SetLength(SInt32 length);
  SInt32 GetMarker() const { return mMarker; }
  void SetMarker(SInt32 offset, EStreamFrom from = EStreamFrom::Start);
  bool AtEnd() const { return mMarker >= GetLength(); }

  // Moves up to `count` bytes and sets `count` to how many moved; noErr, or eofErr when fewer
  // than asked could move (the end of data, or of a fixed buffer).
  virtual ExceptionCode PutBytes(const void* buffer, SInt32& count) = 0;
  virtual ExceptionCode GetBytes(void* buffer, SInt32& count) = 0;

  // All or an exception.
  void WriteBlock(const void* buffer, SInt32 count);
  void ReadBlock(void* buffer, SInt32 count);

  void WritePString(ConstStringPtr pstr);
  // Reads a Pascal string into storage of `capacity` bytes (length byte included); a longer
  // stored string is read whole and cut to fit.
  void ReadPString(StringPtr pstr, size_t capacity = sizeof(Str255));
  void WriteCString(const char* cstr);  // without the terminating zero, after a u32 length
  SInt32 ReadCString(char* cstr, size_t capacity);

  LStream& operator<<(SInt8 v) { return PutNumber(static_cast<UInt8>(v), 1); }
  LStream& operator<<(UInt8 v) { return PutNumber(v, 1); }
  LStream& operator<<(SInt16 v) { return PutNumber(static_cast<UInt16>(v), 2); }
  LStream& operator<<(UInt16 v) { return PutNumber(v, 2); }
  LStream& operator<<(SInt32 v) { return PutNumber(static_cast<UInt32>(v), 4); }
  LStream& operator<<(UInt32 v) { return PutNumber(v, 4); }
  LStream& operator<<(bool v) { return PutNumber(v ? 1 : 0, 1); }
  LStream& operator<<(const Point& p) { return *this << p.v << p.h; }
  LStream& operator<<(const Rect& r) { return *this << r.top << r.left << r.bottom << r.right; }
  LStream& operator<<(ConstStringPtr pstr) {
    WritePString(pstr);
    return *this;
  }

  LStream& operator>>(SInt8& v) { return GetNumber(v, 1); }
  LStream& operator>>(UInt8& v) { return GetNumber(v, 1); }
  LStream& operator>>(SInt16& v) { return GetNumber(v, 2); }
  LStream& operator>>(UInt16& v) { return GetNumber(v, 2); }
  LStream& operator>>(SInt32& v) { return GetNumber(v, 4); }
  LStream& operator>>(UInt32& v) { return GetNumber(v, 4); }
  LStream& operator>>(bool& v) {
    UInt8 b = 0;
    *this >> b;
    v = b != 0;
    return *this;
  }
  LStream& operator>>(Point& p) { return *this >> p.v >> p.h; }
  LStream& operator>>(Rect& r) { return *this >> r.top >> r.left >> r.bottom >> r.right; }
  LStream& operator>>(Str255& pstr) {
    ReadPString(pstr, sizeof(Str255));
    return *this;
  }

 protected:
  // For subclasses: the marker and length they keep up to date.
  SInt32 mMarker = 0;
  SInt32 mLength = 0;

 private:
  LStream& PutNumber(UInt32 v, int size);
  template <typename T>
  LStream& GetNumber(T& v, int size);
};
