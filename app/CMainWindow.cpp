#include "app/CMainWindow.h"

#include <string>

#include "app/CAppButton.h"
#include "app/CAppearanceApp.h"
#include "app/CEditableCaption.h"
#include "app/CFunctionDialog.h"
#include "app/CHelpButton.h"
#include "app/CMainWindowTitleView.h"
#include "app/CMoveButton.h"
#include "app/CMoveToolTip.h"
#include "app/COverlayButton.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "app/MainWindowDef.h"
#include "appservices/AppleHelp.h"
#include "framework/LCaption.h"
#include "framework/LException.h"
#include "framework/LPicture.h"
#include "framework/StColorPenState.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hub/WXLaunch.h"
#include "output/hubdialogs/WXScan.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/MacErrors.h"
#include "scanner/CTWAIN.h"
#include "toolbox/Files.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace {

enum : PaneIDT {
  kTitleView = 'Wttl',
  kCloseBox = 'Wcls',
  kHelpButton = 'Whlp',
  kShadeButton = 'Wshd',
  kTitle = 'Wcap',
  kScan1Caption = 'Sc1c',
  kScan2Caption = 'Sc2c',
};
constexpr SInt16 kToolTipList = 10001;
constexpr SInt16 kMoveToolTipItem = 8;
constexpr SInt16 kHelpToolTipItem = 10;
constexpr MessageT kToolTipMessage = msg_AnyMessage;  // a tool tip watches every message
constexpr SInt16 kTitleList = 310;
constexpr ResIDT kCaptionTraits = 135;
constexpr ResIDT kTitleTraits = 138;
constexpr ResIDT kSevenButtonPicture = 128, kFourButtonPicture = 130;
constexpr SInt16 kButtonTop = 65, kButtonSize = 53;
constexpr SInt16 kMoveTop = 34, kMoveWidth = 50, kMoveHeight = 25;

typedef LPane* (*ButtonMaker)(const SPaneInfo& info, MessageT message, const ResIDT (&picts)[3], ResIDT icon1,
                              ResIDT icon2);

template <class T>
LPane* MakeOverlayButton(const SPaneInfo& info, MessageT message, const ResIDT (&picts)[3], ResIDT overlay, ResIDT) {
  return new T(info, message, 0, 0, 0, picts[0], picts[1], picts[2], overlay);
}

template <class T>
LPane* MakeAppButton(const SPaneInfo& info, MessageT message, const ResIDT (&picts)[3], ResIDT icon1, ResIDT icon2) {
  return new T(info, message, 0, 0, 0, picts[0], picts[1], picts[2], icon1, icon2);
}

typedef CMoveButton* (*MoveMaker)(RecordBytes record, const SPaneInfo& info, MessageT message, UInt16 productID,
                                  ResIDT pict);

template <class T>
CMoveButton* MakeMoveButton(RecordBytes record, const SPaneInfo& info, MessageT message, UInt16 productID,
                            ResIDT pict) {
  return new T(record, info, message, productID, 0, 0, 0, pict, 0, 0);
}

struct SButtonRow {
  PaneIDT id;
  SInt16 left;
  ButtonMaker make;
  ResIDT picts[3];
  ResIDT icon1, icon2;  // colour icons, or the overlay picture and 0
  SInt16 toolTip;
  size_t appSpec;  // the target application in PREF_ALL, 0 for none
  PaneIDT captionID;
  SInt16 captionLeft, captionWidth;
  size_t name;  // the button name in PREF_ALL
  UInt8 editable;
  const int32_t* captionTop;
  // The move button above, when the function has one.
  PaneIDT moveID;
  MoveMaker makeMove;
  size_t record;
  ResIDT movePict;
  bool fourButtonOnly;
};

// In the order the window creates them; the array indexes of mButtons and mMoveButtons.
const SButtonRow kRows[] = {
    {'COPY', 21, &MakeOverlayButton<CCopyButton>, {300, 301, 302}, 0, 0, 2, 0, 'Cpyc', 21, 56,
     PREF_ALL::kCopy.off + PREF_COPY::kButtonName.off, 0, &CopyButtonName_Caption_Top, 'CPYM',
     &MakeMoveButton<CCopyMoveButton>, PREF_ALL::kCopy.off, 400, false},
    {'PRNT', 81, &MakeOverlayButton<CPrintButton>, {305, 306, 307}, 0, 0, 3, 0, 'Prnc', 81, 56,
     PREF_ALL::kPrint.off + PREF_PRINT::kButtonName.off, 0, &PrintButtonName_Caption_Top, 'PRNM',
     &MakeMoveButton<CPrintMoveButton>, PREF_ALL::kPrint.off, 0, false},
    {'MAIL', 141, &MakeAppButton<CMailButton>, {200, 201, 202}, 480, 490, 1,
     PREF_ALL::kMail.off + PREF_MAIL::kMailApp.off, 'Milc', 141, 56, PREF_ALL::kMail.off + PREF_MAIL::kButtonName.off,
     0, &MailButtonName_Caption_Top, 'MALM', &MakeMoveButton<CMailMoveButton>, PREF_ALL::kMail.off, 410, false},
    {'OCR ', 201, &MakeAppButton<COCRButton>, {200, 201, 202}, 450, 460, 6, PREF_ALL::kOCR.off + PREF_OCR::kOCRApp.off,
     'OCRc', 201, 56, PREF_ALL::kOCR.off + PREF_OCR::kButtonName.off, 0, &OCRButtonName_Caption_Top, 'OCRM',
     &MakeMoveButton<COCRMoveButton>, PREF_ALL::kOCR.off, 0, false},
    {'FILE', 441, &MakeAppButton<CFileButton>, {200, 201, 202}, 410, 420, 9, PREF_ALL::kFile0 + PREF_FILE::kTargetApp.off,
     'Filc', 438, 56, PREF_ALL::kFile0 + PREF_FILE::kButtonName.off, 0, &FileButtonName_Caption_Top, 'FILM',
     &MakeMoveButton<CFileMoveButton>, PREF_ALL::kFile0, 420, true},
    {'SAVE', 261, &MakeOverlayButton<CSaveButton>, {330, 331, 332}, 0, 0, 4, 0, 'Svec', 261, 56,
     PREF_ALL::kSave.off + PREF_SAVE::kButtonName.off, 0, &SaveButtonName_Caption_Top, 'SAVM',
     &MakeMoveButton<CSaveMoveButton>, PREF_ALL::kSave.off, 0, false},
    {'SCN1', 321, &MakeAppButton<CScan1Button>, {200, 201, 202}, 430, 440, 5,
     PREF_ALL::kScan1.off + PREF_SCANX::kTargetApp.off, kScan1Caption, 321, 62,
     PREF_ALL::kScan1.off + PREF_SCANX::kButtonName.off, 1, &Scan1ButtonName_Caption_Top, 'SC1M',
     &MakeMoveButton<CScan1MoveButton>, PREF_ALL::kScan1.off, 430, false},
    {'SCN2', 381, &MakeAppButton<CScan2Button>, {200, 201, 202}, 430, 440, 5,
     PREF_ALL::kScan2.off + PREF_SCANX::kTargetApp.off, kScan2Caption, 378, 62,
     PREF_ALL::kScan2.off + PREF_SCANX::kButtonName.off, 1, &Scan2ButtonName_Caption_Top, 'SC2M',
     &MakeMoveButton<CScan2MoveButton>, PREF_ALL::kScan2.off, 0, false},
    {'SET ', 510, &MakeOverlayButton<CSettingButton>, {370, 371, 372}, 0, 0, 7, 0, 'Setc', 510, 56,
     PREF_ALL::kSetting.off + PREF_SETTING::kButtonName.off, 0, &SettingButtonName_Caption_Top, 0, nullptr, 0, 0,
     false},
};
static_assert(std::size(kRows) == 9);

// What a function button's message opens.
struct SDialogRow {
  MessageT message;
  ResIDT layout;
  bool withButton;
};
const SDialogRow kDialogs[] = {
    {'COPY', 1000, false}, {'PRNT', 9000, false}, {'MAIL', 2000, true}, {'OCR ', 3000, true},
    {'SAVE', 4000, false}, {'SCN1', 6000, true},  {'SCN2', 7000, true},
};
constexpr ResIDT kFileLayoutFourButtons = 5000, kFileLayout = 5050, kSettingLayout = 8000;

// The help of the build's language, a plain folder of pages in the runtime tree: it stands in
// for the models' help books, and is registered under its folder's name.
std::string HelpFolder() { return FolderRuntimePath(std::string(kRuntimeHelpDir) + "/" + LanguageLetter()); }

// Which of the five File records a pushed button reads: buttons 3 to 6 take the second
// to fifth; any other button none.
int FileRecordOfButton(UInt16 button) { return button >= 3 && button <= 6 ? button - 2 : -1; }

SPaneInfo PaneInfo(LView* super, PaneIDT id, SInt32 left, SInt32 top, SInt16 width, SInt16 height) {
  return MakePaneInfo(super, id, left, top, width, height);
}

}  // namespace

CMainWindow::CMainWindow(LStream* stream) : LWindow(stream) {}

CMainWindow::CMainWindow(WindowRef window, LCommander* super) : LWindow(window, super) {}

CMainWindow::~CMainWindow() {
  if (CAppearanceApp::sMainWindow == this) CAppearanceApp::sMainWindow = nullptr;
}

UInt16 CMainWindow::ProductOf(RecordBytes prefsAll) {
  RecordBytes setting = PREF_ALL::kSetting.in(prefsAll);
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  return static_cast<UInt16>(
      CWXUtility::GetDriverVersion(PREF_SETTING::kTWAIN.get(setting), nullptr, nullptr, model));
}

void CMainWindow::FinishCreateSelf() {
  Str255 title;
  GetIndString(title, kTitleList, 1);
  SetDescriptor(title);
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    const UInt16 productID = ProductOf(prefs.PrefAll());
    CreateBackground(productID);
    CreateButtons(prefs.PrefAll(), productID);
  }
  SearchHelpAlias();
  FAUCheckAndSetToPreferences();
}

void CMainWindow::CreateBackground(UInt16 productID) {
  const ResIDT picture = CWXUtility::Is4ButtonDriver(productID) ? kFourButtonPicture : kSevenButtonPicture;
  mBackground = new LPicture(PaneInfo(this, 0, 0, 0, kWidth, kHeight), picture);
  mBackground->FinishCreate();
}

void CMainWindow::CreateButtons(RecordBytes prefsAll, UInt16 productID) {
  const bool fourButtons = CWXUtility::Is4ButtonDriver(productID);
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const SButtonRow& row = kRows[i];
    LPane* button = row.make(PaneInfo(this, row.id, row.left, kButtonTop, kButtonSize, kButtonSize), row.id, row.picts,
                             row.icon1, row.icon2);
    ThrowIfNil_(button);
    mButtons[i] = button;
    button->FinishCreate();
    dynamic_cast<LBroadcaster*>(button)->AddListener(this);
    button->AddAttachment(new CToolTip(kToolTipList, row.toolTip, kToolTipMessage, true));
    if (row.appSpec != 0) {
      const FSSpec app = prefsAll.fsspec(row.appSpec);
      if (app.name[0] != 0) dynamic_cast<CAppButton*>(button)->SetIconRef(CWXUtility::GetIconFromFile(app));
    }
    Str255 name;
    prefsAll.pstr(row.name, 256, name);
    auto* caption = new CEditableCaption(
        PaneInfo(this, row.captionID, row.captionLeft, *row.captionTop, row.captionWidth, ButtonName_Caption_Hsight),
        name, kCaptionTraits, row.editable);
    mCaptions[i] = caption;
    caption->FinishCreate();
    if (row.makeMove && (!row.fourButtonOnly || fourButtons)) {
      CMoveButton* move = row.makeMove(prefsAll.sub(row.record, PREF_ALL::kSize - row.record), PaneInfo(this, row.moveID, row.left, kMoveTop,
                                                                             kMoveWidth, kMoveHeight),
                                       row.moveID, productID, row.movePict);
      ThrowIfNil_(move);
      mMoveButtons[i] = move;
      move->FinishCreate();
      move->AddAttachment(new CMoveToolTip(kToolTipList, kMoveToolTipItem, kToolTipMessage, true));
    }
  }
  CreateWindowTitleButton(prefsAll);
}

void CMainWindow::CreateWindowTitleButton(RecordBytes) {
  mTitleView = new CMainWindowTitleView(PaneInfo(this, kTitleView, 0, 0, kWidth, 30), SViewInfo{}, kTitleView);
  mTitleView->FinishCreate();
  mTitleView->AddListener(this);
  mCloseButton = new CPictureButton(PaneInfo(mTitleView, kCloseBox, 17, 7, 16, 16), kCloseBox, 0, 0, 0, 220, 221, 222);
  mCloseButton->FinishCreate();
  mCloseButton->AddListener(this);
  mHelpButton = new CHelpButton(PaneInfo(this, kHelpButton, 549, 7, 16, 16), kHelpButton, 0, 0, 0, 230, 231, 232, 233);
  mHelpButton->FinishCreate();
  mHelpButton->AddListener(this);
  mHelpButton->AddAttachment(new CToolTip(kToolTipList, kHelpToolTipItem, kToolTipMessage, true));
  Str255 title;
  GetIndString(title, kTitleList, 1);
  // Drawn without erasing, so the strip shows around the letters.
  mTitle = new CEditableCaption(PaneInfo(mTitleView, kTitle, 190, 5, 200, 30), title, kTitleTraits, 0);
  mTitle->FinishCreate();
}

void CMainWindow::CreateMoveButtons(RecordBytes prefsAll) {
  for (CMoveButton*& move : mMoveButtons) {
    delete move;
    move = nullptr;
  }
  const UInt16 productID = ProductOf(prefsAll);
  const bool fourButtons = CWXUtility::Is4ButtonDriver(productID);
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const SButtonRow& row = kRows[i];
    if (!row.makeMove || (row.fourButtonOnly && !fourButtons)) continue;
    CMoveButton* move = row.makeMove(prefsAll.sub(row.record, PREF_ALL::kSize - row.record),
                                     PaneInfo(this, row.moveID, row.left, kMoveTop, kMoveWidth, kMoveHeight),
                                     row.moveID, productID, row.movePict);
    mMoveButtons[i] = move;
    move->FinishCreate();
    move->AddAttachment(new CMoveToolTip(kToolTipList, kMoveToolTipItem, kToolTipMessage, true));
  }
  Refresh();
  UpdatePort();
}

void CMainWindow::DeletePane(LPane*& pane) {
  delete pane;
  pane = nullptr;
}

void CMainWindow::DeleteButtons() {
  for (LPane*& button : mButtons) DeletePane(button);
  for (LPane*& caption : mCaptions) DeletePane(caption);
  for (CMoveButton*& move : mMoveButtons) {
    delete move;
    move = nullptr;
  }
}

void CMainWindow::DeleteWindowTitleButton() {
  delete mHelpButton;
  mHelpButton = nullptr;
  // The close box and the title go with their view.
  delete mTitleView;
  mTitleView = nullptr;
  mCloseButton = nullptr;
  mTitle = nullptr;
}

void CMainWindow::ChangeWindow(RecordBytes prefsAll) {
  DeleteButtons();
  DeleteWindowTitleButton();
  delete mBackground;
  mBackground = nullptr;
  Str255 title;
  GetIndString(title, kTitleList, 1);
  SetDescriptor(title);
  const UInt16 productID = ProductOf(prefsAll);
  CreateBackground(productID);
  CreateButtons(prefsAll, productID);
  Refresh();
  UpdatePort();
}

void CMainWindow::DisableWindow() {
  if (mCover) return;
  mCover = new LView(PaneInfo(this, 0, 0, 0, kWidth, kHeight), SViewInfo{});
  mCover->FinishCreate();
}

void CMainWindow::EnableWindow() {
  delete mCover;
  mCover = nullptr;
}

OSErr CMainWindow::SearchHelpAlias() {
  ThrowIfNil_(mHelpButton);
  mHelpButton->Disable();
  const std::string folder = HelpFolder(), index = folder + "/index.html";
  FSRef page{}, book{};
  OSErr err = FSPathMakeRef(reinterpret_cast<const UInt8*>(index.c_str()), &page, nullptr);
  if (err == noErr) err = FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &book, nullptr);
  if (err == noErr) err = static_cast<OSErr>(AHRegisterHelpBook(&book));
  if (err == noErr) mHelpButton->Enable();
  return err;
}

CEditableCaption* CMainWindow::EditableCaption(PaneIDT id) const {
  auto* caption = dynamic_cast<CEditableCaption*>(const_cast<CMainWindow*>(this)->FindPaneByID(id));
  ThrowIfNil_(caption);
  return caption;
}

void CMainWindow::SetButtonNameToPreferences() {
  Str255 scan1, scan2;
  EditableCaption(kScan1Caption)->GetCurrentText(scan1);
  EditableCaption(kScan2Caption)->GetCurrentText(scan2);
  CPreferences prefs(PREFS_FILE_NAME, 0);
  PREF_SCANX::kButtonName.set(PREF_ALL::kScan1.in(prefs.PrefAll()), scan1);
  PREF_SCANX::kButtonName.set(PREF_ALL::kScan2.in(prefs.PrefAll()), scan2);
}

void CMainWindow::SetScan1ButtonName(ConstStr255Param name) { EditableCaption(kScan1Caption)->SetCurrentText(name); }

void CMainWindow::SetScan2ButtonName(ConstStr255Param name) { EditableCaption(kScan2Caption)->SetCurrentText(name); }

void CMainWindow::FAUCheckAndSetToPreferences() {
  CPreferences prefs(PREFS_FILE_NAME, 0);
  RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
  if (PREF_SETTING::kCheckDone.get(setting) != 0) return;
  short result = 1;
  {
    CTWAIN twain;
    Str255 model;
    PREF_SETTING::kModelName.get(setting, model);
    if (twain.SetDriverAndOpen(model) == 1) result = twain.SetLightPath();
  }
  Refresh();
  if (result == 0) {
    PREF_SETTING::kCheckDone.set(setting, 1);
    PREF_SETTING::kFilmAdapter.set(setting, 1);
  } else {
    PREF_SETTING::kFilmAdapter.set(setting, 0);
  }
}

CAppButton* CMainWindow::AppButtonFor(MessageT message) const {
  for (size_t i = 0; i < std::size(kRows); ++i)
    if (kRows[i].id == message) return dynamic_cast<CAppButton*>(mButtons[i]);
  return nullptr;
}

void CMainWindow::ListenToMessage(MessageT message, void* param) {
  SetButtonNameToPreferences();
  switch (message) {
    case 'COPY':
    case 'PRNT':
    case 'MAIL':
    case 'OCR ':
    case 'SAVE':
    case 'SCN1':
    case 'SCN2':
    case 'FILE':
    case 'SET ': {
      // A run leaves the window's port with the colours and pen it drew with.
      FocusDraw();
      StColorPenState saved;
      OpenFunctionDialog(message, param);
      break;
    }
    case kCloseBox:
      ProcessCommand(cmd_Quit);
      break;
    case kTitleView:
      CollapseWindow(GetMacWindow(), !IsWindowCollapsed(GetMacWindow()));
      break;
    case kHelpButton: {
      if (SearchHelpAlias() != noErr) break;
      const std::string book = std::string(1, LanguageLetter());
      AHGotoPage(book.c_str(), nullptr, nullptr);
      break;
    }
    default:
      break;
  }
}

void CMainWindow::OpenFunctionDialog(MessageT message, void* param) {
  ResIDT layout = kSettingLayout;
  bool withButton = message == 'FILE';
  UInt16 productID = 0;
  UInt8 fileAsks = 0;
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    productID = ProductOf(prefs.PrefAll());
    const int record = FileRecordOfButton(PREF_ALL::kLastButton.get(prefs.PrefAll()));
    if (record >= 0) fileAsks = PREF_FILE::kFlag3673.get(PREF_ALL::File(UInt32(record)).in(prefs.PrefAll()));
  }
  if (message == 'FILE') layout = CWXUtility::Is4ButtonDriver(productID) ? kFileLayoutFourButtons : kFileLayout;
  for (const SDialogRow& row : kDialogs)
    if (row.message == message) {
      layout = row.layout;
      withButton = row.withButton;
    }

  CAppearanceApp* app = CAppearanceApp::sApplication;
  if (app) app->mFunctionDialogOpen = 1;
  LWindow* window = nullptr;
  try {
    window = LWindow::CreateWindow(layout, this);
    ThrowIfNil_(window);
  } catch (...) {
    if (app) app->mFunctionDialogOpen = 0;
    throw;
  }
  if (message == 'SET ') return;
  auto* dialog = dynamic_cast<CFunctionDialog*>(window);
  auto* listener = dynamic_cast<LListener*>(window);
  if (dialog && withButton) dialog->SetMainWindowButton(AppButtonFor(message));

  // A File push whose record asks first shows the dialog and lets it ask.
  const bool pushed = param != nullptr;
  if (message == 'FILE' && pushed && fileAsks == 0) {
    window->Hide();
    if (dialog) dialog->SetStartFlag(1);
    if (listener) listener->ListenToMessage(msg_StartScan, nullptr);
    return;
  }
  window->Show();
  window->UpdatePort();
  if (message == 'FILE') {
    if (dialog) dialog->SetStartFlag(0);
    if (pushed && listener) listener->ListenToMessage(msg_AskFirst, nullptr);
    return;
  }
  if (dialog) dialog->SetStartFlag(pushed ? 1 : 0);
  if (pushed && listener) listener->ListenToMessage(msg_StartScan, nullptr);
}

bool CMainWindow::AttemptQuitSelf(SInt32) {
  {
    Rect bounds;
    GetGlobalBounds(bounds);
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_ALL::kWindowTop.set(prefs.PrefAll(), bounds.top);
    PREF_ALL::kWindowLeft.set(prefs.PrefAll(), bounds.left);
  }
  SetButtonNameToPreferences();
  return true;
}

bool CMainWindow::ObeyCommand(CommandT command, void* param) {
  if (command == cmd_Close) {
    ProcessCommand(cmd_Quit);
    return true;
  }
  return LWindow::ObeyCommand(command, param);
}

void CMainWindow::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                    Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
  } else if (command == cmd_Close) {
    WindowAttributes attributes = 0;
    GetWindowAttributes(GetMacWindow(), &attributes);
    outEnabled = (attributes & kWindowCloseBoxAttribute) != 0;
  } else {
    LWindow::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
  }
}

void CMainWindow::ClickInContent(const EventRecord& event) {
  Point where = event.where;
  GlobalToPortPoint(where);
  RgnHandle strip = GetRegionResource(kMainWindowTitleRegion);
  const bool inStrip = strip && PtInRgn(where, strip);
  if (strip) DisposeRgn(strip);
  if (!inStrip) return LWindow::ClickInContent(event);
  LPane* hit = FindDeepSubPaneContaining(where.h, where.v);
  const PaneIDT id = hit ? hit->GetPaneID() : 0;
  if (id == kCloseBox || id == kHelpButton || id == kShadeButton) return LWindow::ClickInContent(event);
  ClickInTitleBar(event);
  if (id == kTitleView || !hit) LWindow::ClickInContent(event);
}
