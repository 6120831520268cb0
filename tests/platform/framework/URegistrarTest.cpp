#include "framework/URegistrar.h"

#include <gtest/gtest.h>

#include "framework/LAttachment.h"
#include "framework/LException.h"
#include "framework/LHandleStream.h"

namespace {

struct Marker : LAttachment {
  explicit Marker(LStream* s) : LAttachment(s) {}
  void ExecuteSelf(MessageT, void*) override {}
};
struct OtherMarker : Marker {
  explicit OtherMarker(LStream* s) : Marker(s) {}
};

SReanimated MakeMarker(LStream* s) { return SReanimated{nullptr, new Marker(s), nullptr}; }
SReanimated MakeOther(LStream* s) { return SReanimated{nullptr, new OtherMarker(s), nullptr}; }

class URegistrarTest : public ::testing::Test {
 protected:
  void TearDown() override { URegistrar::UnregisterAll(); }
};

}  // namespace

TEST_F(URegistrarTest, CreatesFromTheStreamAndChecksDerivation) {
  URegistrar::RegisterClass('atch', MakeMarker);
  URegistrar::RegisterClass('mark', MakeMarker, 'atch');
  URegistrar::RegisterClass('omrk', MakeOther, 'mark');
  EXPECT_TRUE(URegistrar::IsDerivedFrom('omrk', 'atch'));
  EXPECT_TRUE(URegistrar::IsDerivedFrom('mark', 'mark'));
  EXPECT_FALSE(URegistrar::IsDerivedFrom('mark', 'omrk'));
  EXPECT_FALSE(URegistrar::IsDerivedFrom('none', 'atch'));

  LHandleStream s;
  s << SInt32(812) << UInt8(0);
  s.SetMarker(0);
  SReanimated made = URegistrar::CreateObject('omrk', &s);
  ASSERT_NE(made.attachment, nullptr);
  EXPECT_EQ(made.attachment->GetMessage(), 812);
  EXPECT_FALSE(made.attachment->GetExecuteHost());
  EXPECT_NE(dynamic_cast<OtherMarker*>(made.attachment), nullptr);
  delete made.attachment;
}

TEST_F(URegistrarTest, RegisteringAgainReplaces) {
  URegistrar::RegisterClass('mark', MakeMarker);
  URegistrar::RegisterClass('mark', MakeOther, 'atch');
  EXPECT_EQ(URegistrar::GetParentClass('mark'), static_cast<ClassIDT>('atch'));
  LHandleStream s;
  s << SInt32(1) << UInt8(1);
  s.SetMarker(0);
  SReanimated made = URegistrar::CreateObject('mark', &s);
  EXPECT_NE(dynamic_cast<OtherMarker*>(made.attachment), nullptr);
  delete made.attachment;
}

TEST_F(URegistrarTest, AnUnknownClassIsReportedByItsID) {
  LHandleStream s;
  try {
    URegistrar::CreateObject('Zzz9', &s);
    FAIL();
  } catch (const LException& ex) {
    EXPECT_EQ(ex.GetErrorCode(), err_UnknownClass);
    EXPECT_NE(std::string(ex.what()).find("'Zzz9'"), std::string::npos);
  }
}

TEST_F(URegistrarTest, ACycleOfParentsCannotHangTheCheck) {
  URegistrar::RegisterClass('aaaa', MakeMarker, 'bbbb');
  URegistrar::RegisterClass('bbbb', MakeMarker, 'aaaa');
  EXPECT_FALSE(URegistrar::IsDerivedFrom('aaaa', 'cccc'));
}
