#include "app/CMoveButton.h"

#include <gtest/gtest.h>

#include "AppTestEnv.h"
#include "app/PushScanEvents.h"
#include "windows/TestDriver.h"

namespace wxapp {
namespace {

using namespace wxframework;

// The tags of Copy, Print, Mail, OCR, Save, the five File records, Scan-1, Scan-2, and
// the four button slots, as the file holds them.
struct Assignments {
  std::vector<UInt32> tags;
  std::vector<UInt32> slots;
  bool operator==(const Assignments&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Assignments& a) {
  out << "tags";
  for (UInt32 t : a.tags) out << ' ' << t;
  out << " slots";
  for (UInt32 s : a.slots) out << ' ' << s;
  return out;
}

class MoveButtonTest : public AppTest {
 protected:
  void StartWith(const char* model, long buttons) {
    Configure(model);
    WithPrefs([&](RecordBytes all) { ResetButtonAssignments(all, buttons); });
    Start();
    Window()->Select();
  }
  Assignments Read() {
    Assignments a;
    WithPrefs([&](RecordBytes all) {
      a.tags = {PREF_COPY::kTag.get(PREF_ALL::kCopy.in(all)), PREF_PRINT::kTag.get(PREF_ALL::kPrint.in(all)),
                PREF_MAIL::kTag.get(PREF_ALL::kMail.in(all)), PREF_OCR::kTag.get(PREF_ALL::kOCR.in(all)),
                PREF_SAVE::kTag.get(PREF_ALL::kSave.in(all))};
      for (UInt32 k = 0; k < PREF_ALL::kFileRecords; ++k) a.tags.push_back(PREF_FILE::kTag.get(PREF_ALL::File(k).in(all)));
      a.tags.push_back(PREF_SCANX::kTag.get(PREF_ALL::kScan1.in(all)));
      a.tags.push_back(PREF_SCANX::kTag.get(PREF_ALL::kScan2.in(all)));
      for (UInt32 k = 0; k < PREF_SETTING::kSlots; ++k)
        a.slots.push_back(PREF_SETTING::ButtonSlot(k).get(PREF_ALL::kSetting.in(all)));
    });
    return a;
  }
  void DragBetween(PaneIDT from, Point to) {
    wxdriver::Drag(Centre(Window()->FindPaneByID(from)), to, 6);
    PumpEvents();
  }
  void DragBetween(PaneIDT from, PaneIDT to) { DragBetween(from, Centre(Window()->FindPaneByID(to))); }
  SInt32 Mark(PaneIDT id) { return dynamic_cast<CDropPane*>(Window()->FindPaneByID(id))->GetMoveButtonValue(); }
};

TEST_F(MoveButtonTest, SevenButtonMovesWriteBothRecordsAndTheSlot) {
  StartWith("Dremlo Model A", 7);
  Assignments a = Read();
  // Copy has button 1; Print has none.
  DragBetween('CPYM', 'PRNM');
  a.tags[0] = 0;
  a.tags[1] = 2000;
  a.slots[0] = 2;
  EXPECT_EQ(a, Read());
  EXPECT_EQ(0, Mark('CPYM'));
  EXPECT_EQ(2000, Mark('PRNM'));
  // Onto a button that has a tag, or outside any move button: nothing changes.
  DragBetween('PRNM', 'MALM');
  EXPECT_EQ(a, Read());
  DragBetween('PRNM', Centre(Window()->FindPaneByID('Cpyc')));
  EXPECT_EQ(a, Read());
  // A button without a tag does not drag.
  DragBetween('SAVM', 'OCRM');
  EXPECT_EQ(a, Read());
  // Print's button moves on to Scan-2.
  DragBetween('PRNM', 'SC2M');
  a.tags[1] = 0;
  a.tags[11] = 2000;
  a.slots[0] = 7;
  EXPECT_EQ(a, Read());
}

TEST_F(MoveButtonTest, FourButtonFileMovesWriteAllFiveRecords) {
  StartWith("Dremlo Model D", 4);
  Assignments a = Read();
  ASSERT_EQ(2002u, a.tags[5]);
  DragBetween('FILM', 'PRNM');
  for (int k = 5; k < 10; ++k) a.tags[k] = 0;
  a.tags[1] = 2002;
  a.slots[2] = 2;
  EXPECT_EQ(a, Read());
  DragBetween('PRNM', 'FILM');
  for (int k = 5; k < 10; ++k) a.tags[k] = 2002;
  a.tags[1] = 0;
  a.slots[2] = 8;
  EXPECT_EQ(a, Read());
}

TEST_F(MoveButtonTest, NothingMovesWhileAFunctionDialogIsOpen) {
  StartWith("Dremlo Model A", 7);
  const Assignments a = Read();
  Window()->ListenToMessage('SAVE', nullptr);
  ASSERT_EQ(1u, CStandInDialog::Made().size());
  Window()->Select();
  DragBetween('CPYM', 'PRNM');
  EXPECT_EQ(a, Read());
  delete CStandInDialog::Made().front();
  EXPECT_EQ(a, Read()) << "the dialog's own write changes nothing either";
}

TEST_F(MoveButtonTest, MarksFollowTheFileAfterCreateMoveButtons) {
  StartWith("Dremlo Model A", 7);
  WithPrefs([&](RecordBytes all) {
    PREF_COPY::kTag.set(PREF_ALL::kCopy.in(all), 0);
    PREF_SAVE::kTag.set(PREF_ALL::kSave.in(all), 2000);
    Window()->CreateMoveButtons(all);
  });
  EXPECT_EQ(0, Mark('CPYM'));
  EXPECT_EQ(2000, Mark('SAVM'));
  EXPECT_EQ(nullptr, Window()->FindPaneByID('FILM'));
}

}  // namespace
}  // namespace wxapp
