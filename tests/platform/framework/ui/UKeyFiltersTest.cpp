#include "framework/UKeyFilters.h"

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "display/Display.h"
#include "framework/LCommander.h"

namespace {

EventRecord KeyDown(UInt16 c, EventModifiers modifiers = 0) {
  EventRecord e{};
  e.what = keyDown;
  e.message = c;
  e.modifiers = modifiers;
  return e;
}

// Takes every key passed up to it.
struct KeyCatcher : LCommander {
  int caught = 0;
  bool HandleKeyPress(const EventRecord&) override {
    ++caught;
    return true;
  }
};

EKeyStatus Rejecting(TEHandle, UInt16, UInt16&, EventModifiers) { return keyStatus_Reject; }
EKeyStatus PassingUp(TEHandle, UInt16, UInt16&, EventModifiers) { return keyStatus_PassUp; }
EKeyStatus Uppercasing(TEHandle, UInt16, UInt16& c, EventModifiers) {
  if (c >= 'a' && c <= 'z') c = UInt16(c - 'a' + 'A');
  return keyStatus_Input;
}

struct ClassCase {
  const char* name;
  KeyFilterFunc filter;
  bool pendingLead;
  UInt16 key;
  EKeyStatus status;
  UInt16 character;
};

const ClassCase kClassCases[] = {
    {"NoFilterLetterIsInput", nullptr, false, 'a', keyStatus_Input, 'a'},
    {"NoFilterBackspaceDeletes", nullptr, false, kBackspaceCharCode, keyStatus_TEDelete, kBackspaceCharCode},
    {"FilterDecides", Rejecting, false, 'a', keyStatus_Reject, 'a'},
    {"SecondByteIsInputWhateverTheFilterSays", Rejecting, true, 'a', keyStatus_Input, 'a'},
    {"PassUpStaysPassUpAfterALeadByte", PassingUp, true, 'a', keyStatus_PassUp, 'a'},
    {"TheFilterMayChangeTheCharacter", Uppercasing, false, 'q', keyStatus_Input, 'Q'},
};

class ClassOfKeyPress : public testing::TestWithParam<ClassCase> {};

}  // namespace

TEST_P(ClassOfKeyPress, ClassesByTheFieldsFilter) {
  const ClassCase& c = GetParam();
  UInt16 character = 0;
  EXPECT_EQ(UKeyFilters::ClassOfKeyPress(KeyDown(c.key), c.filter, nullptr, c.pendingLead, character), c.status);
  EXPECT_EQ(character, c.character);
}

INSTANTIATE_TEST_SUITE_P(Keys, ClassOfKeyPress, testing::ValuesIn(kClassCases),
                         [](const testing::TestParamInfo<ClassCase>& i) { return std::string(i.param.name); });

TEST_F(FrameworkFixture, NonEditingKeysAreTakenBeepedOrPassedUp) {
  struct Case {
    EKeyStatus status;
    int beeps;
    int passedUp;
  } const cases[] = {
      {keyStatus_ExtraEdit, 0, 0},
      {keyStatus_Ignore, 0, 0},
      {keyStatus_Reject, 1, 0},
      {keyStatus_PassUp, 0, 1},
  };
  for (const Case& c : cases) {
    KeyCatcher super;
    LCommander field(&super);
    const int beeps = DpyBeepCount();
    EXPECT_TRUE(UKeyFilters::TakeNonEditingKey(c.status, field, KeyDown('x')));
    EXPECT_EQ(DpyBeepCount() - beeps, c.beeps) << c.status;
    EXPECT_EQ(super.caught, c.passedUp) << c.status;
  }
}

TEST(UKeyFilters, CommandASelectsAll) {
  EXPECT_TRUE(UKeyFilters::IsSelectAllKey(KeyDown('a', cmdKey)));
  EXPECT_TRUE(UKeyFilters::IsSelectAllKey(KeyDown('A', cmdKey)));
  EXPECT_FALSE(UKeyFilters::IsSelectAllKey(KeyDown('a')));
  EXPECT_FALSE(UKeyFilters::IsSelectAllKey(KeyDown('b', cmdKey)));
}
