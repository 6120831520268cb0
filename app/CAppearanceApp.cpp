#include "app/CAppearanceApp.h"

#include <cstdio>
#include <cstring>
#include <exception>

#include "app/CCicnButton.h"
#include "app/CCustomSize_EditText.h"
#include "app/CDDArea_EditText.h"
#include "app/CEditText.h"
#include "app/CEditTextNotGray.h"
#include "app/CExifEditText.h"
#include "app/CCPopupButton.h"
#include "app/CMainWindow.h"
#include "app/CPicture.h"
#include "app/CPictureButton.h"
#include "app/CPopupButton.h"
#include "prefs/CPreferences.h"
#include "app/CTextTable.h"
#include "app/CToolTip.h"
#include "prefs/LanguageTables.h"
#include "app/MainWindowDef.h"
#include "app/PushScanEvents.h"
#include "appservices/Processes.h"
#include "framework/FrameworkClasses.h"
#include "framework/LBorderAttachment.h"
#include "framework/LCaption.h"
#include "framework/LCicnButton.h"
#include "framework/LDialogBox.h"
#include "framework/LException.h"
#include "framework/LPicture.h"
#include "framework/LPlaceHolder.h"
#include "framework/LRadioGroup.h"
#include "framework/LScroller.h"
#include "framework/LTabGroup.h"
#include "framework/LTabsControl.h"
#include "framework/LTextTableView.h"
#include "framework/LWindow.h"
#include "framework/LYieldAttachment.h"
#include "framework/UEnvironment.h"
#include "framework/UMainThread.h"
#include "framework/UWindows.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXText.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/WXPrompts.h"
#include "output/hubdialogs/WXScan.h"
#include "quickdraw/Appearance.h"
#include "quickdraw/QuickDraw.h"
#include "scanner/CTWAIN.h"
#include "toolbox/Gestalt.h"
#include "windows/MacWindows.h"

CAppearanceApp* CAppearanceApp::sApplication = nullptr;
CMainWindow* CAppearanceApp::sMainWindow = nullptr;
UMainThread* CAppearanceApp::sAppMainThread = nullptr;
UInt8 CAppearanceApp::sFromAppleEvent = 0;

namespace {

constexpr SInt32 kOldestSystem = 0x0FFF;
constexpr SInt32 kLastVersionWithSenderTest = 0x105F;
constexpr OSType kButtonService = 'syui';
constexpr SInt32 kItemStartUpFailed = 2, kItemNoThreads = 4, kItemOldSystem = 5, kItemSettingsNotKept = 29,
                 kItemWrongButton = 42;
constexpr SInt16 kMainWindowClass = 6;
constexpr UInt32 kMainWindowAttributes = 9;
constexpr UInt16 kDefaultProduct = 0x1200;

// A class of app/ or of the framework, or 0 for one the executable's list supplies.
struct SClassRow {
  ClassIDT id;
  ClassCreatorFunc creator;
  ClassIDT parent;
};

template <class T>
SClassRow Row() {
  return SClassRow{T::class_ID, &TRegistrar<T>::Create, TRegistrar<T>::ParentID()};
}
SClassRow Outside(ClassIDT id) { return SClassRow{id, nullptr, 0}; }

bool SenderIsButtonService(OSType sender) {
  SInt32 version = 0;
  Gestalt(gestaltSystemVersion, &version);
  return version > kLastVersionWithSenderTest || sender == kButtonService;
}

void ShowAlert(LCommander* super, SInt32 item) {
  CWXUtility::Show_Error(CWXUtility::kAlertLayout, super, CWXUtility::kAlertLayout, item, 0, 1, nullptr, 0);
}

// Settings that cannot be read or written: the program goes on with what it has, and says so.
void SettingsNotKept(OSErr) {
  if (LApplication* app = LApplication::GetApplication()) ShowAlert(app, kItemSettingsNotKept);
}

long ButtonCountOf(RecordBytes prefsAll) {
  Str255 model;
  PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(prefsAll), model);
  return CWXUtility::GetScannerButtonNum(1, nullptr, nullptr, model);
}

// Records the model of `productID` and resets the assignments when its button count is
// not `oldButtons`; whether it did.
bool TakeModel(RecordBytes prefsAll, UInt16 productID, long oldButtons) {
  if (const ScannerTableRow* row = ScannerTableFindProduct(productID))
    PREF_SETTING::kModelName.set(PREF_ALL::kSetting.in(prefsAll), row->modelName);
  const long buttons = ButtonCountOf(prefsAll);
  if (buttons == oldButtons) return false;
  ResetButtonAssignments(prefsAll, buttons);
  return true;
}

bool SameFileName(RecordBytes prefsAll, const FSSpec& file) {
  const FSSpec last = PREF_ALL::kLastEventFile.get(prefsAll);
  return last.name[0] == file.name[0] && std::memcmp(last.name + 1, file.name + 1, file.name[0]) == 0;
}

// Whether the stored base folder of the temporary folder failed and the default one,
// stored in its place, holds a fresh temporary folder.
bool MakeTemporaryFolder() {
  FSSpec parent{}, temp{};
  if (CWXUtility::Create_Default_TempDir(parent, &temp)) return true;
  if (!CWXUtility::Get_Default_TempDir(&temp, &parent) || !CWXUtility::Create_Default_TempDir(parent, &temp))
    return false;
  CPreferences prefs(PREFS_FILE_NAME, 0);
  PREF_SETTING::kTempBase.set(PREF_ALL::kSetting.in(prefs.PrefAll()), parent);
  return true;
}

}  // namespace

CAppearanceApp::CAppearanceApp(const AppClassList& outsideClasses) : mOutsideClasses(outsideClasses) {
  sApplication = this;
  CTWAIN::SetApplicationHost(this);
  if (UEnvironment::HasFeature(env_HasAppearance)) RegisterAppearanceClient();
  // The alert needs its classes, so they are registered before the version check.
  RegisterClasses();
  CPreferences::SetWriteFailureHandler(&SettingsNotKept);
  SInt32 version = 0;
  Gestalt(gestaltSystemVersion, &version);
  if (version <= kOldestSystem) FailAndExit(kItemOldSystem);
  mFunctionDialogOpen = 0;
}

CAppearanceApp::~CAppearanceApp() {
  CPreferences::SetWriteFailureHandler(nullptr);
  CWXUtility::DeleteTempFiles();
  CWXUtility::Delete_Default_TempDir(FSSpec{});
  // The windows go before the application's own parts.
  while (!GetSubCommanders().empty()) delete GetSubCommanders().back();
  RemoveAllAttachments();
  sAppMainThread = nullptr;
  if (sApplication == this) sApplication = nullptr;
  CTWAIN::SetApplicationHost(nullptr);
}

void CAppearanceApp::FailAndExit(SInt32 item) {
  ShowAlert(this, item);
  ExitToShell();
}

void CAppearanceApp::RegisterClasses() {
  const SClassRow rows[] = {
      Row<LDialogBox>(), Row<LWindow>(), Row<LPicture>(), Row<LRadioGroup>(),
  };
  for (const SClassRow& row : rows) URegistrar::RegisterClass(row.id, row.creator, row.parent);
  // The Appearance control set, 'icnp' among them.
  RegisterFrameworkClasses();
  const SClassRow rest[] = {
      Row<LCaption>(),        Row<LScroller>(),         Row<CMainWindow>(),      Outside('Cdlg'),
      Outside('Mdlg'),        Outside('Odlg'),          Outside('Sdlg'),         Outside('Fdlg'),
      Outside('S1lg'),        Outside('S2lg'),          Outside('SIdg'),         Outside('FAdg'),
      Outside('STlg'),        Row<CPopupButton>(),      Row<LCicnButton>(),      Row<CCicnButton>(),
      Outside('DMLS'),        Outside('ATBL'),          Row<CPictureButton>(),   Outside('DLAY'),
      Outside('THUV'),        Outside('PICV'),          Outside('prnt'),         Row<LPlaceHolder>(),
      Outside('DPRE'),        Outside('PREV'),          Outside('DEXF'),         Outside('txcl'),
      Outside('Pdlg'),        Row<CCPopupButton>(),     Outside('PrpV'),         Outside('Prpr'),
      Row<LBorderAttachment>(), Row<LTabGroup>(),       Row<CEditTextNotGray>(),         Row<LTextTableView>(),
      Row<CTextTable>(),      Row<CToolTip>(),          Outside('StDl'),         Outside('StcV'),
      Row<CDDArea_EditText>(),        Row<CPicture>(),          Row<CExifEditText>(),         Row<CCustomSize_EditText>(),
      Row<CEditText>(),        Outside('FApu'),          Row<LTabsControl>(),
  };
  for (const SClassRow& row : rest) {
    if (row.creator) {
      URegistrar::RegisterClass(row.id, row.creator, row.parent);
      continue;
    }
    for (const SAppClassEntry& entry : mOutsideClasses)
      if (entry.classID == row.id) URegistrar::RegisterClass(entry.classID, entry.creator, entry.parentID);
  }
}

void CAppearanceApp::StartUp() {
  // Once per launch: a second run would empty the temporary folder under a scan's pages.
  if (mStarted) {
    ObeyCommand(cmd_New, nullptr);
    return;
  }
  mStarted = true;
  if (!UEnvironment::HasFeature(env_HasThreadManager)) FailAndExit(kItemNoThreads);
  mMainThread = std::make_unique<UMainThread>();
  sAppMainThread = mMainThread.get();
  mYield = std::make_unique<LYieldAttachment>(-1);
  AddAttachment(mYield.get(), nullptr, false);
  CWXUtility::DeleteTempFiles();
  ObeyCommand(cmd_New, nullptr);
}

bool CAppearanceApp::ObeyCommand(CommandT command, void* param) {
  if (command != cmd_New) return LApplication::ObeyCommand(command, param);
  try {
    OpenMainWindow();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "wendrix: the main window could not be opened: %s\n", e.what());
    FailAndExit(kItemStartUpFailed);
  }
  return true;
}

void CAppearanceApp::OpenMainWindow() {
  const bool created = sMainWindow == nullptr;
  if (created) {
    Rect frame{0, 0, CMainWindow::kHeight, CMainWindow::kWidth};
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      RecordBytes all = prefs.PrefAll();
      RecordBytes copy = PREF_ALL::kCopy.in(all), print = PREF_ALL::kPrint.in(all);
      PREF_COPY::kFirstPage.set(copy, 1);
      PREF_COPY::kLastPage.set(copy, 1);
      PREF_COPY::kCopies.set(copy, 1);
      PREF_COPY::kCollate.set(copy, 1);
      PREF_PRINT::kJob312.set(print, 1);
      PREF_PRINT::kJob316.set(print, 1);
      PREF_PRINT::kCopies.set(print, 1);
      PREF_PRINT::kJobFlag.set(print, 1);
      SInt16 top = PREF_ALL::kWindowTop.get(all), left = PREF_ALL::kWindowLeft.get(all);
      const SInt16 menuBar = GetMBarHeight();
      if (top == 0 && left == 0) {
        top = menuBar;
      } else {
        BitMap screen;
        const Rect bounds = GetQDGlobalsScreenBits(&screen)->bounds;
        if (top < bounds.top + menuBar)
          top = menuBar;
        else if (top + CMainWindow::kHeight > bounds.bottom)
          top = static_cast<SInt16>(bounds.bottom - CMainWindow::kHeight);
        if (left < bounds.left)
          left = 0;
        else if (left + CMainWindow::kWidth > bounds.right)
          left = static_cast<SInt16>(bounds.right - CMainWindow::kWidth);
      }
      frame = Rect{top, left, static_cast<SInt16>(top + CMainWindow::kHeight),
                   static_cast<SInt16>(left + CMainWindow::kWidth)};
    }
    WindowDefSpec def{};
    def.defType = kWindowDefProcPtr;
    def.u.defProc = NewWindowDefUPP(&MainWindowDef);
    WindowRef window = nullptr;
    ThrowIfOSErr_(static_cast<OSErr>(CreateCustomWindow(&def, kMainWindowClass, kMainWindowAttributes, &frame, &window)));
    sMainWindow = new CMainWindow(window, this);
    ThrowIfNil_(sMainWindow);
    sMainWindow->FinishCreate();
  }
  sMainWindow->Show();
  if (!CWXUtility::Create_Default_Dir()) Throw_(err_AssertFailed);
  if (created) {
    if (!MakeTemporaryFolder()) Throw_(err_AssertFailed);
  } else {
    // The folder is made when missing but never emptied again.
    SInt16 volume = 0;
    SInt32 folder = 0;
    if (!CWXUtility::FindTempFolder(&volume, &folder)) Throw_(err_AssertFailed);
  }
}

void CAppearanceApp::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                       Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
  } else if (CWXUtility::sIsStitchDialogOpened == 1) {
    if (command == cmd_About || command == cmd_Quit) outEnabled = false;
  } else {
    LApplication::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
  }
}

void CAppearanceApp::AdjustCursor(const EventRecord& event) {
  LApplication::AdjustCursor(event);
  if (!EmptyRgn(mMouseRgn)) return;
  BitMap screen;
  RgnHandle screenRgn = NewRgn();
  RectRgn(screenRgn, &GetQDGlobalsScreenBits(&screen)->bounds);
  UnionRgn(GetGrayRgn(), screenRgn, mMouseRgn);
  DisposeRgn(screenRgn);
  UWindows::ExcludeActiveStructures(mMouseRgn);
}

void CAppearanceApp::HandleAppleEvent(const AppleEvent& event, AppleEvent& reply, AEDesc& result, SInt32 number) {
  switch (number) {
    case ae_OpenApp:
      OpenApplication(event, reply, result, number);
      break;
    case ae_ReopenApp:
      ReopenApplication(event);
      break;
    case ae_Swallowed:
      break;
    default:
      LApplication::HandleAppleEvent(event, reply, result, number);
  }
}

void CAppearanceApp::OpenApplication(const AppleEvent& event, AppleEvent& reply, AEDesc& result, SInt32 number) {
  long oldButtons = 0;
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    oldButtons = ButtonCountOf(prefs.PrefAll());
  }
  OSType launcher = 0;
  try {
    launcher = GetMyApplicationFileSpec();
  } catch (const LException&) {
  }
  KVQRInfo info{};
  unsigned short productID = kDefaultProduct;
  FSSpec file{};
  if (SenderIsButtonService(launcher)) {
    sFromAppleEvent = 1;
    if (FindKVQR(&info, &productID, &file) == 0) {
      bool handledBefore = false;
      {
        CPreferences prefs(PREFS_FILE_NAME, 0);
        RecordBytes all = prefs.PrefAll();
        handledBefore = SameFileName(all, file);
        TakeModel(all, productID, oldButtons);
        // Remembered here too, so a reopen within the same seconds does not run it again.
        PREF_ALL::kLastEventFile.set(all, file);
      }
      if (!handledBefore) {
        if (!sMainWindow) StartUp();
        ButtonStarting(info.eventData[0], productID);
      }
    }
    sFromAppleEvent = 0;
  }
  LApplication::HandleAppleEvent(event, reply, result, number);
}

void CAppearanceApp::ReopenApplication(const AppleEvent& event) {
  if (!SenderIsButtonService(AEGetCreatorOfSender(event)) || sFromAppleEvent == 1) return;
  KVQRInfo info{};
  unsigned short productID = 0;
  FSSpec file{};
  bool handledBefore = false;
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    // The configured model as the TWAIN road names it, whichever road is set.
    Str255 model;
    PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(all), model);
    const UInt16 configured = UInt16(CWXUtility::GetDriverVersion(1, nullptr, nullptr, model));
    const long oldButtons = ButtonCountOf(all);
    if (FindKVQR(&info, &productID, &file) != 0) {
      sFromAppleEvent = 0;
      return;
    }
    const bool waiting = CWXUtility::sIsOpen == 1;
    if (CWXUtility::Is4ButtonDriver(productID)) {
      if (mFunctionDialogOpen == 1) return;
    } else {
      if (mFunctionDialogOpen == 1 && !waiting) return;
      if (waiting && productID != configured) return;
    }
    sFromAppleEvent = 1;
    handledBefore = SameFileName(all, file);
    PREF_ALL::kLastEventFile.set(all, file);
    const bool changed = TakeModel(all, productID, oldButtons);
    if (sMainWindow) {
      if (changed) {
        sMainWindow->CreateMoveButtons(all);
        sMainWindow->ChangeWindow(all);
      }
      sMainWindow->SearchHelpAlias();
    }
  }
  if (!handledBefore) {
    if (!sMainWindow) StartUp();
    ButtonStarting(info.eventData[0], productID);
  }
  sFromAppleEvent = 0;
}

void CAppearanceApp::ButtonStarting(long button, unsigned short productID) {
  UInt32 slots[PREF_SETTING::kSlots] = {};
  UInt8 pdfNotice = 0;
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    if (sMainWindow) sMainWindow->CreateMoveButtons(all);
    PREF_ALL::kLastButton.set(all, static_cast<UInt16>(button));
    for (UInt32 k = 0; k < PREF_SETTING::kSlots; ++k)
      slots[k] = PREF_SETTING::ButtonSlot(k).get(PREF_ALL::kSetting.in(all));
    pdfNotice = PREF_FILE::kButtonPending.get(PREF_ALL::File(0).in(all));
  }
  const bool waiting = CWXUtility::sIsOpen == 1;
  if (CWXUtility::Is4ButtonDriver(productID)) {
    if (button == 3 && waiting) {
      CWXUtility::sEZMag = 900;
    } else if (button >= 1 && button <= 4) {
      Btn_was_pushed(long(slots[button - 1]), productID);
    }
    return;
  }
  switch (button) {
    case 1:
    case 2:
    case 3: {
      // The third button runs the fourth entry; the third is not used by these models.
      const UInt32 slot = slots[button == 3 ? 3 : button - 1];
      if (waiting)
        ShowAlert(this, kItemWrongButton);
      else
        Btn_was_pushed(long(slot), productID);
      break;
    }
    case 4:
    case 5:
    case 6:
      if (!waiting)
        Btn_was_pushed(function_FileByButton, productID);
      else if (CWXUtility::sTabMode == button - 3)
        CWXUtility::sEZMag = 900;
      else
        ShowAlert(this, kItemWrongButton);
      break;
    case 7:
      if (waiting) {
        Btn_was_pushed(function_Finish, productID);
      } else if (pdfNotice == 1 && CWXUtility::EZPDFButtonOnCheckMsg(this) == 1) {
        CPreferences prefs(PREFS_FILE_NAME, 0);
        for (UInt32 k : {0u, 2u, 3u, 4u}) PREF_FILE::kButtonPending.set(PREF_ALL::File(k).in(prefs.PrefAll()), 0);
      }
      break;
    default:
      break;
  }
}

void CAppearanceApp::Btn_was_pushed(long function, unsigned short productID) {
  static const MessageT kMessages[] = {0, 'COPY', 'PRNT', 'MAIL', 'OCR ', 'SAVE', 'SCN1', 'SCN2', 'FILE'};
  MessageT message = 0;
  if (function >= 1 && function <= 7) {
    message = kMessages[function];
  } else if (function == 8) {
    if (!CWXUtility::Is7ButtonDriver(productID)) message = 'FILE';
  } else if (function == function_FileByButton) {
    message = 'FILE';
  } else if (function == function_Finish) {
    CWXUtility::sEZMag = 901;
  }
  if (message && sMainWindow) sMainWindow->ListenToMessage(message, sMainWindow);
}
