#include <gtest/gtest.h>

#include <cstring>

#include "framework/LDataStream.h"
#include "framework/LException.h"
#include "framework/LHandleStream.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

TEST(LHandleStream, RoundTripOfEveryBasicTypeBigEndian) {
  LHandleStream s;
  Rect r{1, -2, 300, 400};
  Point p{-5, 6};
  unsigned char name[] = "\x05Hello";
  s << SInt8(-1) << UInt8(200) << SInt16(-300) << UInt16(0xBEEF) << SInt32(-70000) << UInt32(0xCAFEBABE) << true
    << r << p << static_cast<ConstStringPtr>(name);
  EXPECT_EQ(s.GetLength(), 1 + 1 + 2 + 2 + 4 + 4 + 1 + 8 + 4 + 6);
  const UInt8* bytes = reinterpret_cast<const UInt8*>(*s.GetDataHandle());
  EXPECT_EQ(bytes[4], 0xBE);  // big-endian on disk
  EXPECT_EQ(bytes[5], 0xEF);

  s.SetMarker(0);
  SInt8 a;
  UInt8 b;
  SInt16 c;
  UInt16 d;
  SInt32 e;
  UInt32 f;
  bool g;
  Rect r2;
  Point p2;
  Str255 name2;
  s >> a >> b >> c >> d >> e >> f >> g >> r2 >> p2 >> name2;
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, 200);
  EXPECT_EQ(c, -300);
  EXPECT_EQ(d, 0xBEEF);
  EXPECT_EQ(e, -70000);
  EXPECT_EQ(f, 0xCAFEBABEu);
  EXPECT_TRUE(g);
  EXPECT_EQ(std::memcmp(&r, &r2, sizeof r), 0);
  EXPECT_EQ(p2.v, -5);
  EXPECT_EQ(p2.h, 6);
  EXPECT_EQ(std::memcmp(name, name2, 6), 0);
  EXPECT_TRUE(s.AtEnd());
}

TEST(LHandleStream, ReadingPastTheEndThrowsEof) {
  LHandleStream s;
  s << UInt16(1);
  s.SetMarker(0);
  SInt32 v = 0;
  try {
    s >> v;
    FAIL();
  } catch (const LException& ex) {
    EXPECT_EQ(ex.GetErrorCode(), eofErr);
  }
  // A Pascal string whose length byte claims more than is there.
  LHandleStream t;
  t << UInt8(10) << UInt8('a');
  t.SetMarker(0);
  Str255 out;
  EXPECT_THROW(t >> out, LException);
}

TEST(LHandleStream, DetachAndAdoptHandles) {
  LHandleStream s;
  s << UInt32(7);
  Handle h = s.DetachDataHandle();
  EXPECT_EQ(GetHandleSize(h), 4);
  EXPECT_EQ(s.GetLength(), 0);
  LHandleStream adopted(h);
  UInt32 v = 0;
  adopted >> v;
  EXPECT_EQ(v, 7u);
}

TEST(LDataStream, NeverWritesPastItsBuffer) {
  UInt8 buffer[6] = {};
  LDataStream s(buffer, 6);
  s << UInt32(0x01020304);
  EXPECT_THROW(s << UInt32(5), LException);
  EXPECT_EQ(buffer[0], 1);
  EXPECT_EQ(buffer[4], 0);  // the two bytes that fit were written
  const UInt8 readOnly[2] = {0x12, 0x34};
  LDataStream r(static_cast<const void*>(readOnly), 2);
  UInt16 v;
  r >> v;
  EXPECT_EQ(v, 0x1234);
  r.SetMarker(0);
  EXPECT_THROW(r << UInt8(1), LException);
  r.SetMarker(1, EStreamFrom::End);
  EXPECT_EQ(r.GetMarker(), 1);
}

TEST(LStream, CStringsAreCutToTheCallersBuffer) {
  LHandleStream s;
  s.WriteCString("a long file name");
  s << UInt8(9);
  s.SetMarker(0);
  char out[5];
  EXPECT_EQ(s.ReadCString(out, sizeof out), 4);
  EXPECT_STREQ(out, "a lo");
  UInt8 after = 0;
  s >> after;
  EXPECT_EQ(after, 9);
}
