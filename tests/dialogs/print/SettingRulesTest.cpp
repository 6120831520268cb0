#include "dialogs/print/SettingRules.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "prefs/ButtonTags.h"
#include "prefs/PrefRecords.h"
#include "prefs/PrefsTestEnv.h"
#include "toolbox/TextUtils.h"

namespace {

const std::string kSevenButtons = "Dremlo Model A";
const std::string kFourButtons = "Dremlo Model D";

using Slots = std::array<uint32_t, 4>;

// A dialog's PREF_ALL with its working copy of PREF_SETTING, tags derived from the slots.
struct Prefs {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(PREF_ALL::kSize);
  PREF_SETTING working;
  RecordBytes all() { return RecordBytes(bytes.data(), bytes.size()); }
  RecordBytes setting() { return working.view(); }

  Prefs(const std::string& model, Slots slots) {
    Str255 name;
    PStrFromString(model, name, sizeof name);
    PREF_SETTING::kModelName.set(setting(), name);
    for (uint32_t k = 0; k < 4; ++k) PREF_SETTING::ButtonSlot(k).set(setting(), slots[k]);
    DeriveTags(all(), setting(), setting());
  }
  Slots slots() {
    Slots s{};
    for (uint32_t k = 0; k < 4; ++k) s[k] = PREF_SETTING::ButtonSlot(k).get(setting());
    return s;
  }
  uint32_t tag(uint32_t item) { return GetFunctionTag(all(), setting(), item, IsFourButtonModel(setting())); }
};

void ChangeTo(Prefs& p, const std::string& model) {
  Str255 name;
  PStrFromString(model, name, sizeof name);
  ChangeModel(p.all(), p.setting(), name);
}

TEST(SettingRules, AModelOfTheOtherKindTakesThatKindsSlots) {
  struct Case {
    std::string from, to;
    Slots slots, want;
    bool settingsTagKept;
  } cases[] = {
      {kSevenButtons, kFourButtons, {8, 6, 0, 3}, {1, 6, 8, 3}, false},
      {kFourButtons, kSevenButtons, {9, 6, 8, 3}, {1, 6, 0, 3}, false},
      {kSevenButtons, "Dremlo Model B", {2, 5, 0, 8}, {2, 5, 0, 8}, true},
      {kSevenButtons, "Unlisted Model", {2, 5, 0, 8}, {2, 5, 0, 8}, true},  // a model not in the table has seven buttons
  };
  for (const Case& c : cases) {
    Prefs p(c.from, c.slots);
    uint32_t settingsTag = PREF_SETTING::kTag.get(p.setting());
    ChangeTo(p, c.to);
    EXPECT_EQ(c.want, p.slots()) << c.to;
    EXPECT_EQ(c.settingsTagKept ? settingsTag : 0, PREF_SETTING::kTag.get(p.setting())) << c.to;
    EXPECT_EQ(2000u, p.tag(1)) << "the tags go to the default assignment until applied";
  }
}

TEST(SettingRules, SlotPopupsListTheKindsFunctions) {
  EXPECT_EQ(9u, SlotMenuItems(true, 2));
  EXPECT_EQ(8u, SlotMenuItems(false, 0));
  EXPECT_EQ(5u, SlotMenuItems(false, 2));
  Prefs p(kSevenButtons, {12, 9, 7, 3});
  ClampSlots(p.setting());
  EXPECT_EQ((Slots{8, 8, 5, 3}), p.slots());
}

TEST(SettingRules, AFunctionThatHoldsATagIsRefused) {
  Prefs p(kFourButtons, {1, 6, 8, 3});
  EXPECT_FALSE(FunctionIsFree(p.all(), p.setting(), 3));
  EXPECT_FALSE(FunctionIsFree(p.all(), p.setting(), 8));  // File, all five records
  EXPECT_TRUE(FunctionIsFree(p.all(), p.setting(), 9));
  EXPECT_FALSE(FunctionIsFree(p.all(), p.setting(), 10));
  MoveTag(p.all(), p.setting(), 9, 8);
  EXPECT_EQ(2002u, PREF_SETTING::kTag.get(p.setting()));
  for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k) EXPECT_EQ(0u, PREF_FILE::kTag.get(PREF_ALL::File(k).in(p.all())));
}

// Copy on button 1 and Mail on button 4 are swapped through Print; closing restores the
// tags of the saved slots, whatever order the edits took.
TEST(SettingRules, TagsDerivedFromTheSavedSlotsSurviveASwap) {
  Prefs p(kSevenButtons, {1, 6, 0, 3});
  PREF_SETTING saved = p.working;
  auto choose = [&](uint32_t slot, uint32_t item) {
    PrefU32 field = PREF_SETTING::ButtonSlot(slot);
    ASSERT_TRUE(FunctionIsFree(p.all(), p.setting(), item));
    MoveTag(p.all(), p.setting(), item, field.get(p.setting()));
    field.set(p.setting(), item);
  };
  choose(0, 2);
  choose(3, 1);
  choose(0, 3);
  EXPECT_EQ((Slots{3, 6, 0, 1}), p.slots());
  EXPECT_EQ(2000u, p.tag(3));
  EXPECT_EQ(2003u, p.tag(1));

  DeriveTags(p.all(), saved.view(), p.setting());
  EXPECT_EQ(2000u, p.tag(1));
  EXPECT_EQ(2001u, p.tag(6));
  EXPECT_EQ(2003u, p.tag(3));
  EXPECT_EQ(0u, p.tag(2));
}

// A model changed and then cancelled: the saved four-button File assignment keeps its tags.
TEST(SettingRules, TagsDerivedFromTheSavedSlotsUseTheSavedModel) {
  Prefs p(kFourButtons, {1, 6, 8, 3});
  PREF_SETTING saved = p.working;
  ChangeTo(p, kSevenButtons);
  DeriveTags(p.all(), saved.view(), p.setting());
  for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k)
    EXPECT_EQ(2002u, PREF_FILE::kTag.get(PREF_ALL::File(k).in(p.all())));
}

// "TPBT" writes the new folders into the file at once through a short-lived store; Cancel
// must still leave the file as it was at opening.
TEST(SettingRules, TheClosingWriteLeavesTheFileAsTheSavedCopySays) {
  wxtest::PrefsEnv env("E");
  PREF_SETTING saved;
  {
    CPreferences dialog(PREFS_FILE_NAME, 0);
    RecordBytes setting = PREF_ALL::kSetting.in(dialog.PrefAll());
    std::copy_n(setting.data(), PREF_SETTING::kSize, saved.bytes.begin());
  }
  WriteSavedSetting(saved);  // a consistent file: its tags are those of its slots
  const std::vector<uint8_t> atOpening = wxtest::ReadBytes(env.PrefsFile());
  {
    CPreferences chooser(PREFS_FILE_NAME, 0);
    RecordBytes setting = PREF_ALL::kSetting.in(chooser.PrefAll());
    PREF_SETTING::kTempBase.set(setting, env.PrefsFolderSpec("Elsewhere"));
    PREF_SETTING::kTempFolder.set(setting, env.PrefsFolderSpec("WX50Temp"));
  }
  ASSERT_NE(atOpening, wxtest::ReadBytes(env.PrefsFile()));
  WriteSavedSetting(saved);
  EXPECT_EQ(atOpening, wxtest::ReadBytes(env.PrefsFile()));
}

}  // namespace
