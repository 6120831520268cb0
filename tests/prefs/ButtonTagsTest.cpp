#include "prefs/ButtonTags.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "prefs/PrefRecords.h"

namespace {

// Tags of the functions in item order: Copy, Print, Mail, OCR, Save, Scan-1, Scan-2, File, Settings.
using Tags = std::array<uint32_t, 9>;

Tags ReadTags(RecordBytes all, RecordBytes setting) {
  Tags t{};
  for (uint32_t item = 1; item <= 7; ++item) t[item - 1] = GetFunctionTag(all, setting, item, true);
  t[7] = GetFunctionTag(all, setting, 8, true);
  t[8] = GetFunctionTag(all, setting, 9, true);
  return t;
}

struct Case {
  bool fourButtons;
  std::array<uint32_t, 4> slots;
  Tags want;
};

TEST(ButtonTags, EachCountedSlotTagsItsFunctionAndNothingElseKeepsATag) {
  const Case cases[] = {
      {true, {1, 6, 8, 3}, {2000, 0, 2003, 0, 0, 2001, 0, 2002, 0}},
      {false, {1, 6, 0, 3}, {2000, 0, 2003, 0, 0, 2001, 0, 0, 0}},
      {false, {3, 6, 8, 1}, {2003, 0, 2000, 0, 0, 2001, 0, 0, 0}},  // slot 2 never counts on seven buttons
      {false, {8, 2, 0, 7}, {0, 2001, 0, 0, 0, 0, 2003, 0, 2000}},  // Settings is item 8 there
      {true, {9, 4, 5, 2}, {0, 2003, 0, 2001, 2002, 0, 0, 0, 2000}},
      {true, {0, 12, 8, 0}, {0, 0, 0, 0, 0, 0, 0, 2002, 0}},       // no function, or none of the menu
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes(PREF_ALL::kSize, 0);
    RecordBytes all(bytes.data(), bytes.size());
    for (uint32_t item = 1; item <= 8; ++item) SetFunctionTag(all, all, item, true, 2999);  // stale tags
    RecordBytes setting = PREF_ALL::kSetting.in(all);
    PREF_SETTING::kTag.set(setting, 0);
    for (uint32_t k = 0; k < 4; ++k) PREF_SETTING::ButtonSlot(k).set(setting, c.slots[k]);
    ClearFunctionTags(all);
    AssignSlotTags(all, setting, setting, c.fourButtons);
    EXPECT_EQ(c.want, ReadTags(all, setting)) << "slots " << c.slots[0] << c.slots[1] << c.slots[2] << c.slots[3];
    for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k)
      EXPECT_EQ(c.want[7], PREF_FILE::kTag.get(PREF_ALL::File(k).in(all)));
  }
}

}  // namespace
