#include "CSettingDialogBox.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "app/CAppearanceApp.h"
#include "app/CCicnButton.h"
#include "app/FunctionDialogRun.h"
#include "app/CMainWindow.h"
#include "app/CPopupButton.h"
#include "prefs/CPreferences.h"
#include "prefs/FactoryDefaults.h"
#include "prefs/LanguageTables.h"
#include "dialogs/print/SettingRules.h"
#include "framework/UReanimator.h"
#include "output/export/WXChoosers.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXLaunch.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hubdialogs/WXPanes.h"
#include "quickdraw/Appearance.h"
#include "scanner/CTWAIN.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {

constexpr ResIDT kSlotMenu = 8000, kScannerMenu = 8001, kControlLinks = 8000;
constexpr SInt16 kMessageList = 400;
constexpr SInt32 kAlertLayout = 400, kTaggedFunctionItem = 25;
constexpr SInt16 kPathMargin = 15;

struct SlotPanes {
  PaneIDT popup, companion, icon;
};
constexpr SlotPanes kSlotPanes[PREF_SETTING::kSlots] = {
    {'CPYP', 'CPYB', 'CPPC'}, {'SCNP', 'SCNB', 'SNPC'}, {'FILP', 'FILB', 'FLPC'}, {'MILP', 'MILB', 'MLPC'}};

// What a function item shows: its name in the popups, its colour icon and, where it hands
// files to an application, that application's icon.
struct FunctionLook {
  Str255 name = {0};
  ResIDT cicn = 0;
  FSSpec app{};
  bool hasApp = false;
};

template <class Record>
void TakeName(RecordBytes all, const PrefSub<Record>& record, FunctionLook* look) {
  Record::kButtonName.get(record.in(all), look->name);
}

FunctionLook LookOf(RecordBytes all, RecordBytes working, uint32_t item, bool fourButtons) {
  FunctionLook look;
  auto app = [&](const FSSpec& spec) {
    look.app = spec;
    look.hasApp = spec.name[0] != 0;
  };
  const uint32_t settingsItem = fourButtons ? 9 : 8;
  if (item == settingsItem) {
    PREF_SETTING::kPopupText.get(working, look.name);
    look.cicn = 380;
    return look;
  }
  switch (item) {
    case 1:
      TakeName(all, PREF_ALL::kCopy, &look);
      look.cicn = 300;
      break;
    case 2:
      TakeName(all, PREF_ALL::kPrint, &look);
      look.cicn = 390;
      break;
    case 3:
      TakeName(all, PREF_ALL::kMail, &look);
      look.cicn = 310;
      app(PREF_MAIL::kMailApp.get(PREF_ALL::kMail.in(all)));
      break;
    case 4:
      TakeName(all, PREF_ALL::kOCR, &look);
      look.cicn = 320;
      app(PREF_OCR::kOCRApp.get(PREF_ALL::kOCR.in(all)));
      break;
    case 5:
      TakeName(all, PREF_ALL::kSave, &look);
      look.cicn = 330;
      break;
    case 6:
    case 7: {
      const PrefSub<PREF_SCANX>& scan = item == 6 ? PREF_ALL::kScan1 : PREF_ALL::kScan2;
      TakeName(all, scan, &look);
      // An empty item would not show in the menu.
      if (look.name[0] == 0) std::memcpy(look.name, "\x01 ", 2);
      look.cicn = item == 6 ? 350 : 360;
      app(PREF_SCANX::kTargetApp.get(scan.in(all)));
      break;
    }
    case 8:
      TakeName(all, PREF_ALL::File(0), &look);
      look.cicn = 340;
      app(PREF_FILE::kTargetApp.get(PREF_ALL::File(0).in(all)));
      break;
    default:
      break;
  }
  return look;
}

bool SameSpec(const FSSpec& a, const FSSpec& b) {
  return a.vRefNum == b.vRefNum && a.parID == b.parID && std::memcmp(a.name, b.name, size_t(a.name[0]) + 1) == 0;
}

bool FolderExists(const FSSpec& folder) {
  SInt32 dirID = 0;
  Boolean isDirectory = false;
  return FSpGetDirectoryID(&folder, &dirID, &isDirectory) == noErr && isDirectory;
}

}  // namespace

std::array<LPane*, 3> CSettingDialogBox::GroupPanes(const Slot& slot) {
  return {slot.popup, slot.companion, slot.icon};
}

CSettingDialogBox::CSettingDialogBox(LStream* stream) : LDialogBox(stream) {
  CPreferences store(PREFS_FILE_NAME, 0);
  RecordBytes all = store.PrefAll();
  mPrefAll.assign(all.data(), all.data() + all.size());
}

CSettingDialogBox::~CSettingDialogBox() {
  try {
    if (mLoaded) {
      RestoreSavedTempFolder();
      WriteSavedSetting(mSaved);
    }
  } catch (...) {
    // The window is going: nobody is left to tell, and the file keeps its last OK.
  }
  if (CAppearanceApp::sApplication) CAppearanceApp::sApplication->mFunctionDialogOpen = 0;
}

void CSettingDialogBox::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mDriver = CWXUtility::FindPaneAs<CPopupButton>(this, 'DRVR');
  for (uint32_t k = 0; k < PREF_SETTING::kSlots; ++k) {
    mSlots[k].popup = CWXUtility::FindPaneAs<CPopupButton>(this, kSlotPanes[k].popup);
    mSlots[k].companion = CWXUtility::FindPaneAs<LPane>(this, kSlotPanes[k].companion);
    mSlots[k].icon = CWXUtility::FindPaneAs<CCicnButton>(this, kSlotPanes[k].icon);
    for (LPane* pane : GroupPanes(mSlots[k])) pane->SavePlace(&mSlots[k].place);
  }
  mQuit = CWXUtility::FindPaneAs<LControl>(this, 'ECCB');
  CWXUtility::FindPaneAs<LControl>(this, 'TPBT');  // every pane of the layout is required
  mBasePath = CWXUtility::FindPaneAs<LPane>(this, 'TPTX');

  UReanimator::LinkListenerToControls(this, this, kControlLinks);
  CWXUtility::StStopListening quiet(this);
  std::copy_n(PREF_ALL::kSetting.in(All()).data(), PREF_SETTING::kSize, mWorking.bytes.begin());
  ClampSlots(Working());
  PREF_SETTING::kTWAIN.set(Working(), 1);
  // Listing the scanners can take seconds while their drivers load: the dialog is on the
  // screen first, and the watch shows meanwhile.
  if (IsVisibleSelf()) {
    Show();
    UpdatePort();
  }
  SetThemeCursor(kThemeWatchCursor);
  SetMenuItems(true);
  SetThemeCursor(kThemeArrowCursor);
  SetDriverPopup();
  mSaved = mWorking;
  mLoaded = true;

  FSSpec base = PREF_SETTING::kTempBase.get(Working()), temp = PREF_SETTING::kTempFolder.get(Working());
  if (!FolderExists(base) && CWXUtility::Get_Default_TempDir(&temp, &base)) {
    PREF_SETTING::kTempBase.set(Working(), base);
    PREF_SETTING::kTempFolder.set(Working(), temp);
    mSaved = mWorking;
  }
  if (!FolderExists(temp) && CWXUtility::Create_Default_TempDir(base, &temp)) {
    PREF_SETTING::kTempFolder.set(Working(), temp);
    mSaved = mWorking;
  }
  SetSlotControls();
  ShowBasePath();
}

void CSettingDialogBox::RestoreSavedTempFolder() {
  const FSSpec working = PREF_SETTING::kTempFolder.get(Working());
  if (SameSpec(working, PREF_SETTING::kTempFolder.get(mSaved.view()))) return;
  CWXUtility::Delete_Default_TempDir(working);
  FSSpec temp{};
  CWXUtility::Create_Default_TempDir(PREF_SETTING::kTempBase.get(mSaved.view()), &temp);
}

bool CSettingDialogBox::FourButtons() { return IsFourButtonModel(Working()); }

void CSettingDialogBox::SetMenuItems(bool listSources) {
  const bool four = FourButtons();
  for (uint32_t k = 0; k < PREF_SETTING::kSlots; ++k) {
    CPopupButton* popup = mSlots[k].popup;
    popup->SetMenuID(kSlotMenu);
    popup->DeleteAllMenuItems();
    for (uint32_t item = 1; item <= SlotMenuItems(four, k); ++item)
      popup->AppendMenuItem(LookOf(All(), Working(), item, four).name);
    popup->SetMaxValue(popup->CountMenuItems());
  }
  if (!listSources) return;
  mDriver->SetMenuID(kScannerMenu);
  mDriver->DeleteAllMenuItems();
  mSources.reset(CTWAIN::Get_DataSources());
  if (mSources) {
    for (ArrayIndexT i = 1; i <= mSources->GetCount(); ++i) {
      TW_IDENTITY id{};
      mSources->FetchItemAt(i, id);
      if (ScannerTableFind(id.ProductName)) mDriver->AppendMenuItem(id.ProductName);
    }
  }
  mDriver->SetMaxValue(mDriver->CountMenuItems());
}

void CSettingDialogBox::SetDriverPopup() {
  const SInt16 count = mDriver->CountMenuItems();
  Str255 model, text;
  PREF_SETTING::kModelName.get(Working(), model);
  SInt16 chosen = 0;
  for (SInt16 i = 1; i <= count && chosen == 0; ++i)
    if (std::memcmp(mDriver->GetMenuItemText(i, text), model, size_t(model[0]) + 1) == 0) chosen = i;
  // A model not listed becomes the last scanner; with none listed it stays what it was.
  if (chosen == 0 && count > 0) {
    chosen = count;
    PREF_SETTING::kModelName.set(Working(), mDriver->GetMenuItemText(chosen, text));
  }
  if (chosen > 0) mDriver->SetValue(chosen);
  mDriver->Enable();
}

void CSettingDialogBox::PlaceGroup(Slot& slot) {
  for (LPane* pane : GroupPanes(slot)) pane->Hide();
  slot.place.SetMarker(0);
  for (LPane* pane : GroupPanes(slot)) {
    pane->RestorePlace(&slot.place);
    // The place holds the visibility of creation too; the group is shown below.
    pane->Hide();
  }
  for (LPane* pane : GroupPanes(slot)) pane->Show();
}

void CSettingDialogBox::SetSlotControls() {
  const bool four = FourButtons();
  for (uint32_t k = 0; k < PREF_SETTING::kSlots; ++k) {
    Slot& slot = mSlots[k];
    if (k != 2 || four) {
      PlaceGroup(slot);
    } else {
      for (LPane* pane : GroupPanes(slot)) pane->Hide();
    }
    slot.popup->SetValue(SInt32(PREF_SETTING::ButtonSlot(k).get(Working())));
    SetIcon(k);
  }
  mQuit->SetValue(PREF_SETTING::kQuitOption.get(Working()));
}

void CSettingDialogBox::SetIcon(uint32_t slot) {
  CCicnButton* icon = mSlots[slot].icon;
  const FunctionLook look = LookOf(All(), Working(), PREF_SETTING::ButtonSlot(slot).get(Working()), FourButtons());
  if (look.cicn == 0) return;
  icon->SetIconRef(nullptr);
  icon->SetCicnIDs(look.cicn, look.cicn);
  if (look.hasApp) icon->SetIconRef(CWXUtility::GetIconFromFile(look.app));
  icon->Refresh();
}

void CSettingDialogBox::ShowBasePath() {
  Rect frame;
  mBasePath->CalcLocalFrameRect(frame);
  SInt16 length = 0;
  Handle path = CWXUtility::GetFullPathTrank(PREF_SETTING::kTempBase.get(Working()),
                                             SInt16(frame.right - frame.left - kPathMargin), &length);
  Str255 text = {0};
  if (path) {
    text[0] = static_cast<unsigned char>(std::min<SInt16>(length, 255));
    std::memcpy(text + 1, *path, text[0]);
    DisposeHandle(path);
  }
  mBasePath->SetDescriptor(text);
}

void CSettingDialogBox::ListenToMessage(MessageT message, void*) {
  switch (message) {
    case 'DRVR':
      OnModelChanged();
      break;
    case 'CPYP':
    case 'SCNP':
    case 'FILP':
    case 'MILP':
      for (uint32_t k = 0; k < PREF_SETTING::kSlots; ++k)
        if (kSlotPanes[k].popup == PaneIDT(message)) OnSlotChanged(k);
      break;
    case 'TPBT':
      OnChooseBase();
      break;
    case 'DFLT':
      OnDefaults();
      break;
    case msg_OK:
      OnOK();
      break;
    case msg_Cancel:
      DoClose();
      break;
    default:
      break;
  }
}

void CSettingDialogBox::OnSlotChanged(uint32_t slot) {
  CPopupButton* popup = mSlots[slot].popup;
  const uint32_t item = uint32_t(popup->GetValue());
  const uint32_t previous = PREF_SETTING::ButtonSlot(slot).get(Working());
  if (item == previous) return;
  if (!FunctionIsFree(All(), Working(), item)) {
    CWXUtility::Show_Error(kAlertLayout, this, kMessageList, kTaggedFunctionItem, 0, 1, nullptr, 0);
    CWXUtility::StStopListening quiet(this);
    popup->SetValue(SInt32(previous));
    return;
  }
  MoveTag(All(), Working(), item, previous);
  PREF_SETTING::ButtonSlot(slot).set(Working(), item);
  SetIcon(slot);
}

void CSettingDialogBox::OnModelChanged() {
  Str255 model;
  mDriver->GetMenuItemText(SInt16(mDriver->GetValue()), model);
  CWXUtility::StStopListening quiet(this);
  ChangeModel(All(), Working(), model);
  SetMenuItems(false);
  SetSlotControls();
}

void CSettingDialogBox::OnChooseBase() {
  FSSpec start = PREF_SETTING::kTempBase.get(Working()), chosen{}, temp{};
  if (CWXUtility::ChooseTempFolder(chosen, nullptr, start) != 1) return;
  if (!CWXUtility::Create_Default_TempDir(chosen, &temp)) return;
  const FSSpec previous = PREF_SETTING::kTempFolder.get(Working());
  if (!SameSpec(previous, temp)) CWXUtility::Delete_Default_TempDir(previous);
  PREF_SETTING::kTempBase.set(Working(), chosen);
  PREF_SETTING::kTempFolder.set(Working(), temp);
  {
    // Written at once, for whatever runs before this dialog closes.
    CPreferences store(PREFS_FILE_NAME, 0);
    RecordBytes setting = PREF_ALL::kSetting.in(store.PrefAll());
    PREF_SETTING::kTempBase.set(setting, chosen);
    PREF_SETTING::kTempFolder.set(setting, temp);
  }
  ShowBasePath();
}

void CSettingDialogBox::OnDefaults() {
  // The defaults follow the chosen model, so they are made on a copy that names it.
  std::vector<uint8_t> scratch = mPrefAll;
  RecordBytes all(scratch.data(), scratch.size());
  RecordBytes setting = PREF_ALL::kSetting.in(all);
  std::copy(mWorking.bytes.begin(), mWorking.bytes.end(), setting.data());
  FDSetting(all);
  std::copy_n(setting.data(), PREF_SETTING::kSize, mWorking.bytes.begin());
  SetDefaultTags(All(), FourButtons());
  FSSpec base = PREF_SETTING::kTempBase.get(Working()), temp{};
  if (CWXUtility::Create_Default_TempDir(base, &temp)) PREF_SETTING::kTempFolder.set(Working(), temp);
  CWXUtility::StStopListening quiet(this);
  SetDriverPopup();
  SetSlotControls();
  ShowBasePath();
}

void CSettingDialogBox::OnOK() {
  // The temporary folder of the last OK goes; the working one is made afresh below. After
  // "DFLT" it may be another base's, which nothing would remove otherwise.
  FSSpec savedTemp = PREF_SETTING::kTempFolder.get(mSaved.view());
  if (!FolderExists(savedTemp) &&
      CWXUtility::Create_Default_TempDir(PREF_SETTING::kTempBase.get(mSaved.view()), &savedTemp))
    PREF_SETTING::kTempFolder.set(mSaved.view(), savedTemp);
  CWXUtility::Delete_Default_TempDir(savedTemp);

  Str255 savedModel;
  PREF_SETTING::kModelName.get(mSaved.view(), savedModel);
  const uint32_t oldCount = ButtonCountOf(savedModel);
  DeriveTags(All(), Working(), Working());

  Str255 model;
  PREF_SETTING::kModelName.get(Working(), model);
  long opened = 0;
  short lightPath = 1;
  {
    CTWAIN twain;
    opened = twain.SetDriverAndOpen(model);
    if (opened) lightPath = twain.SetLightPath();
  }
  if (lightPath == 0) {
    PREF_SETTING::kFilmAdapter.set(Working(), 1);
    PREF_SETTING::kCheckDone.set(Working(), 1);
  } else {
    PREF_SETTING::kFilmAdapter.set(Working(), 0);
  }
  PREF_SETTING::kQuitOption.set(Working(), mQuit->GetValue() ? 1 : 0);

  FSSpec base = PREF_SETTING::kTempBase.get(Working()), temp = PREF_SETTING::kTempFolder.get(Working());
  if (!FolderExists(base)) CWXUtility::Get_Default_TempDir(&temp, &base);
  if (CWXUtility::Create_Default_TempDir(base, &temp)) {
    PREF_SETTING::kTempBase.set(Working(), base);
    PREF_SETTING::kTempFolder.set(Working(), temp);
  }
  mSaved = mWorking;
  std::copy(mSaved.bytes.begin(), mSaved.bytes.end(), PREF_ALL::kSetting.in(All()).data());
  WriteSavedSetting(mSaved);

  if (CMainWindow* window = CAppearanceApp::sMainWindow) {
    CPreferences store(PREFS_FILE_NAME, 0);
    window->CreateMoveButtons(store.PrefAll());
    if (ButtonCountOf(model) != oldCount) window->ChangeWindow(store.PrefAll());
    window->SearchHelpAlias();
  }
  Refresh();
  if (opened == 1) DoClose();
}
