#include "dialogs/file/CScanInfoWindow.h"

#include <cstring>

#include "framework/LException.h"
#include "framework/LTabsControl.h"
#include "framework/StColorPenState.h"
#include "framework/UTextTraits.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXText.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextUtils.h"
#include "windows/Menus.h"

namespace {

constexpr ResIDT kTabTitles = 5100;
constexpr ResIDT kTextTraits = 142;
constexpr ResIDT kColourModesMenu = 5001;
constexpr ResIDT kMonochromeModesMenu = 5002;
constexpr ResIDT kAllModesMenu = 5003;
constexpr ResIDT kSetting8Menu = 5004;
constexpr ResIDT kPaperSizeMenu = 5005;
constexpr ResIDT kFileTypeMenu = 5006;
constexpr UInt32 kAppendToPDF = 3;
// Panes are cut this much narrower than they are, to keep clear of their edges.
constexpr SInt16 kTextMargin = 20;

LPane* FindPane(LView* view, PaneIDT id) {
  LPane* pane = view->FindPaneByID(id);
  ThrowIfNil_(pane);
  return pane;
}

}  // namespace

CScanInfoWindow::CScanInfoWindow(LStream* stream) : LWindow(stream) {}

void CScanInfoWindow::FinishCreateSelf() {
  mScanMode = FindPane(this, 100);
  mSetting8 = FindPane(this, 101);
  mPaperSize = FindPane(this, 102);
  mName = FindPane(this, 103);
  mFileType = FindPane(this, 104);
  mFolder = FindPane(this, 105);
  mPaperCaption = FindPane(this, 202);
}

void CScanInfoWindow::SetDisplayData(PREF_FILE* current, PREF_FILE* noTab, PREF_FILE* tab1, PREF_FILE* tab2,
                                     PREF_FILE* tab3) {
  const UInt32 tab = PREF_FILE::kCurrentTab.get(current->view());
  if (tab >= 1 && tab <= 3) {
    const std::vector<std::string> titles = LTabsControl::ReadTabTitles(kTabTitles);
    if (tab <= titles.size()) {
      Str255 title;
      PStrFromString(titles[tab - 1], title);
      SetDescriptor(title);
      Refresh();
    }
  }
  switch (tab) {
    case 0: SetDisplayData_NoTab(noTab); break;
    case 1: SetDisplayData_Tab1(tab1); break;
    case 2: SetDisplayData_Tab2(tab2); break;
    case 3: SetDisplayData_Tab3(tab3); break;
    default: break;
  }
}

void CScanInfoWindow::SetDisplayData_NoTab(PREF_FILE* record) { ShowRecord(record, kAllModesMenu, 0, true); }
void CScanInfoWindow::SetDisplayData_Tab1(PREF_FILE* record) { ShowRecord(record, kColourModesMenu, 1, true); }
void CScanInfoWindow::SetDisplayData_Tab2(PREF_FILE* record) { ShowRecord(record, kMonochromeModesMenu, 2, false); }
void CScanInfoWindow::SetDisplayData_Tab3(PREF_FILE* record) { ShowRecord(record, kAllModesMenu, 3, true); }

SInt16 CScanInfoWindow::GetPopupScanMode(long kind, long code) {
  static constexpr SInt16 kColour[8] = {0, 0, 0, 1, 2, 3, 4, 0};
  static constexpr SInt16 kMonochrome[8] = {0, 1, 2, 0, 0, 0, 0, 3};
  static constexpr SInt16 kAll[8] = {0, 1, 2, 4, 5, 6, 7, 3};
  if (code < 1 || code > 7) return 0;
  switch (kind) {
    case 1: return kColour[code];
    case 2: return kMonochrome[code];
    default: return kAll[code];
  }
}

void CScanInfoWindow::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                        Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
    return;
  }
  LWindow::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}

void CScanInfoWindow::ShowRecord(PREF_FILE* record, ResIDT scanModeMenu, long kind, bool codes5And6Disable) {
  RecordBytes r = record->view();
  FocusDraw();
  StColorPenState savedPen;
  StColorPenState::Normalize();
  UTextTraits::SetPortTextTraits(kTextTraits);

  const UInt32 mode = PREF_FILE::kSetting4.get(r);
  SetPaneMenuItem(mScanMode, scanModeMenu, UInt32(GetPopupScanMode(kind, long(mode))));
  SetPaneMenuItem(mSetting8, kSetting8Menu, PREF_FILE::kSetting8.get(r) & 0xFFFF);
  SetPaneMenuItem(mPaperSize, kPaperSizeMenu, PREF_FILE::kPaperSize.get(r) & 0xFFFF);
  if (codes5And6Disable && (mode == 5 || mode == 6)) {
    mPaperSize->Disable();
    mPaperCaption->Disable();
  }

  const UInt32 fileType = PREF_FILE::kSetting16.get(r);
  const bool appending = fileType == kAppendToPDF;
  Str255 name;
  (appending ? PREF_FILE::kFileName : PREF_FILE::kDefaultFileName).get(r, name);
  SetPaneText(mName, name);
  SetPaneMenuItem(mFileType, kFileTypeMenu, fileType & 0xFFFF);

  FSSpec folder{};
  if (appending) {
    const FSSpec pdf = StPDFDialog::kAppendTo.get(PREF_FILE::kPDF.in(r));
    if (FSMakeFSSpec(pdf.vRefNum, pdf.parID, nullptr, &folder) != noErr) folder = FSSpec{};
  } else {
    folder = PREF_FILE::kFolder.get(r);
  }
  Str255 folderName;
  std::memcpy(folderName, folder.name, size_t(folder.name[0]) + 1);
  CWXUtility::GetPSStringTrank(folder, folderName);
  SetPaneText(mFolder, folderName);
}

void CScanInfoWindow::SetPaneMenuItem(LPane* pane, ResIDT menuID, UInt32 item) {
  MenuRef menu = GetMenu(menuID);
  if (!menu || item > CountMenuItems(menu)) return;
  Str255 text = {0};
  if (item > 0) GetMenuItemText(menu, MenuItemIndex(item), text);
  SetPaneText(pane, text);
}

void CScanInfoWindow::SetPaneText(LPane* pane, ConstStr255Param text) {
  SDimension16 size;
  pane->GetFrameSize(size);
  Str255 cut;
  std::memcpy(cut, text, size_t(text[0]) + 1);
  CWXUtility::PStringTrank(SInt16(size.width - kTextMargin), cut, truncEnd);
  pane->SetDescriptor(cut);
}
