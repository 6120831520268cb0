#include "dialogs/file/CSaveDialogBox.h"

#include <cstring>

#include "app/CMainWindow.h"
#include "app/prefs/LanguageTables.h"
#include "app/prefs/WXDefaultDir.h"
#include "dialogs/file/ScanSettingRules.h"
#include "framework/LControl.h"
#include "framework/LEditText.h"
#include "framework/LException.h"
#include "framework/LPopupButton.h"
#include "framework/UReanimator.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/CWXUtility.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace {

using namespace ScanSettingRules;

constexpr ResIDT kLayout = 4000;
constexpr ResIDT kStrings = 4000;
constexpr SInt16 kAlertLayout = 400;
constexpr SInt16 kAlertList = 400;
constexpr SInt32 kDropPendingPagesQuestion = 8;
enum : ResIDT {
  kSourceMenu = 4000,
  kPlatenModeMenu = 4001,
  kFilmModeMenu = 4002,
  kPlatenResolutionMenu = 4003,
  kFilmResolutionMenu = 4004,
  kPlatenSizeMenu = 4006,
  kFilmSizeMenu = 4007,
  kFileTypeMenu = 4008,
  kOtherFilmModeMenu = 4010,
};
enum : SInt16 { kDefaultNameItem = 1, kSaveToItem = 2, kAddToItem = 3 };
constexpr UInt32 kTypeMultiPDF = 5;
constexpr UInt32 kTypeAddToPDF = 6;
constexpr UInt16 kNoFilmAdapterProduct = 0x1240;
constexpr UInt16 kOtherFilmMenuProduct = 0x1120;
// Paths are cut this much narrower than their pane, to keep clear of its edge.
constexpr SInt16 kPathMargin = 15;
// The add-to-PDF name keeps room for "_New".
constexpr SInt16 kNewSuffixLength = 4;
enum : CommandT { kCommandClose = 1, kCommandQuit = 10, kCommandSynthetic = -8388608 };

template <class T>
T* FindPaneAs(LView* view, PaneIDT id) {
  auto* pane = dynamic_cast<T*>(view->FindPaneByID(id));
  if (!pane) throw LException('nilP', "a pane of the Save dialog is missing");
  return pane;
}

// Listening off while the dialog sets its own controls.
class StQuiet {
 public:
  explicit StQuiet(LListener* listener) : mListener(listener) { mListener->StopListening(); }
  ~StQuiet() { mListener->StartListening(); }
  StQuiet(const StQuiet&) = delete;
  StQuiet& operator=(const StQuiet&) = delete;

 private:
  LListener* mListener;
};

void EnableIf(LPane* pane, bool enabled) {
  if (enabled)
    pane->Enable();
  else
    pane->Disable();
}

bool SameText(ConstStr255Param a, ConstStr255Param b) { return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0; }

bool SpecResolves(const FSSpec& spec) {
  FSSpec resolved{};
  return spec.name[0] != 0 && FSMakeFSSpec(spec.vRefNum, spec.parID, spec.name, &resolved) == noErr;
}

}  // namespace

CSaveDialogBox::CSaveDialogBox(LStream* stream) : LDialogBox(stream), CPreferences(PREFS_FILE_NAME, 0) {}

CSaveDialogBox::~CSaveDialogBox() {
  DeletePendingPages();
  Save_Setting();
}

void CSaveDialogBox::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mMode = FindPaneAs<LPopupButton>(this, 'MODE');
  mImage = FindPaneAs<LPopupButton>(this, 'IMAG');
  mResolution = FindPaneAs<LPopupButton>(this, 'RESL');
  mSize = FindPaneAs<LPopupButton>(this, 'SIZE');
  mFileType = FindPaneAs<LPopupButton>(this, 'FTYP');
  mDriverWindow = FindPaneAs<LControl>(this, 'UION');
  mDayFolder = FindPaneAs<LControl>(this, 'DYIN');
  mAdobeRGB = FindPaneAs<LControl>(this, 'SVAD');
  mOptions = FindPaneAs<LControl>(this, 'PDFS');
  mSelect = FindPaneAs<LControl>(this, 'SCT1');
  mName = FindPaneAs<LEditText>(this, 'FNAM');
  mFolder = FindPaneAs<LPane>(this, 'FOLD');
  mSaveTo = FindPaneAs<LPane>(this, 'TOTX');
  mPreview = FindPaneAs<LControl>(this, 'SPRE');
  mAskName = FindPaneAs<LControl>(this, 'EZFN');
  mHistory = FindPaneAs<LPopupButton>(this, 'PuFN');
  for (PaneIDT id : {PaneIDT('DFLT'), PaneIDT('APLY'), PaneIDT('CNCL'), PaneIDT('OKBT')}) FindPaneAs<LPane>(this, id);

  UReanimator::LinkListenerToControls(this, this, kLayout);
  SetPopupMenu(mMode, kSourceMenu);
  SetPopupMenu(mImage, kPlatenModeMenu);
  SetPopupMenu(mResolution, kPlatenResolutionMenu);
  SetPopupMenu(mSize, kPlatenSizeMenu);
  SetPopupMenu(mFileType, kFileTypeMenu);
  mJPEGSwapped = 0;
  mPendingPageCount = 0;
  Load_Setting();
  CheckOutputFolder();
  CheckPDFToAddTo();
  SetSaveToStaticText();
  SetFolderNameEditText();
  SetFileNameEditText();
  mCommitted = mWorking;
  mBusy = 0;
  CWXUtility::sIsQuellaneOpened = 0;
  mAutoStart = 0;
}

void CSaveDialogBox::SetPopupMenu(LPopupButton* popup, ResIDT menuID) {
  if (popup->GetMenuID() != menuID) popup->SetMenuID(menuID);
}

// ---- Record and controls -----------------------------------------------------------------

void CSaveDialogBox::Load_Setting() {
  PREF_ALL::kSave.in(PrefAll()).getBytes(0, mWorking.bytes.data(), PREF_SAVE::kSize);
  Prefs_Set(0);
  Prefs_Set(0);
}

void CSaveDialogBox::Save_Setting() {
  RecordBytes stored = PREF_ALL::kSave.in(PrefAll());
  std::memcpy(stored.data(), mWorking.bytes.data(), PREF_SAVE::kSize);
}

void CSaveDialogBox::Prefs_Set(unsigned char factory) {
  RecordBytes r = Working();
  if (factory == 1) {
    const UInt32 tag = PREF_SAVE::kTag.get(r);
    RecordBytes defaults = Set_Default_Save();
    std::memcpy(r.data(), defaults.data(), PREF_SAVE::kSize);
    mPreview->Enable();
    PREF_SAVE::kTag.set(r, tag);
  }
  StQuiet quiet(this);
  mMode->SetMenuID(kSourceMenu);
  RecordBytes setting = PREF_ALL::kSetting.in(PrefAll());
  const bool film = PREF_SETTING::kFilmAdapter.get(setting) == 1 &&
                    CMainWindow::ProductOf(PrefAll()) != kNoFilmAdapterProduct;
  if (!film) {
    mMode->DeleteMenuItem(3);
    mMode->DeleteMenuItem(2);
    PREF_SAVE::kSource.set(r, kSourcePlaten);
  }
  mMode->SetValue(SInt32(PREF_SAVE::kSource.get(r)));
  mDriverWindow->SetValue(PREF_SAVE::kCheckUION.get(r));
  mDayFolder->SetValue(PREF_SAVE::kCheckDYIN.get(r));
  mPreview->SetValue(PREF_SAVE::kCheckFORE.get(r));
  mAdobeRGB->SetValue(PREF_SAVE::kCheckSVAD.get(r));
  mAskName->SetValue(PREF_SAVE::kCheckEZFN.get(r));
  mImage->SetValue(SInt32(GetImageModePopupNum(long(PREF_SAVE::kImageMode.get(r)), kSourcePlaten)));
  mResolution->SetValue(SInt32(PREF_SAVE::kResolution.get(r)));
  mSize->SetValue(SInt32(PREF_SAVE::kPaperSize.get(r)));
  mFileType->SetValue(SInt32(PREF_SAVE::kFileType.get(r)));
  SetMode_Popup();
  SetImageMode_Popup();
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetPdfButton();
  SetUIonBox();
  SetAdobeRGBCheckBox();
  SetNameAndSelectAndFolder();
  SetPreviewCheckBox();
  SetDayInCheckBox();
  SetEZCheckBox();
}

long CSaveDialogBox::Source() const { return mMode->GetValue(); }
long CSaveDialogBox::Code() { return GetImageMode(mImage->GetValue()); }
UInt32 CSaveDialogBox::FileType() const { return UInt32(mFileType->GetValue()); }

long CSaveDialogBox::GetImageMode(long item) { return ImageModeOfItem(item, Source()); }
long CSaveDialogBox::GetImageModePopupNum(long code, long source) { return ItemOfImageMode(code, source); }

bool CSaveDialogBox::IsStitch_Disregard_UICheckBox() {
  const long size = mSize->GetValue();
  const long firstStitch = IS_J ? Paper_Size_B4_Stitch : Paper_Size_11X17_Stitch;
  return Source() == kSourcePlaten &&
         (size == firstStitch || size == Paper_Size_A3_Stitch || size == Paper_Size_432X297_Stitch);
}

bool CSaveDialogBox::IsStitch() { return PREF_SAVE::kCheckUION.get(Working()) == 0 && IsStitch_Disregard_UICheckBox(); }

// ---- Setters -----------------------------------------------------------------------------

void CSaveDialogBox::SetMode_Popup() { EnableIf(mMode, PREF_SAVE::kCheckUION.get(Working()) != 1); }

void CSaveDialogBox::SetImageMode_Popup() {
  RecordBytes r = Working();
  const bool driverWindow = PREF_SAVE::kCheckUION.get(r) != 0;
  if (driverWindow) mImage->Disable();
  long source = Source();
  const bool lastSource = source == kSourceLast;
  if (lastSource) source = PREF_SAVE::kLastSource.get(r) == kSourceFilm ? kSourceFilm : kSourcePlaten;
  if (source == kSourcePlaten) {
    SetPopupMenu(mImage, kPlatenModeMenu);
    mImage->SetValue(SInt32(GetImageModePopupNum(long(PREF_SAVE::kImageMode.get(r)), kSourcePlaten)));
  } else {
    SetPopupMenu(mImage, CMainWindow::ProductOf(PrefAll()) == kOtherFilmMenuProduct ? kOtherFilmModeMenu
                                                                                    : kFilmModeMenu);
    mImage->DisableItem(3);
    if (PREF_SAVE::kImageMode2.get(r) == 3) PREF_SAVE::kImageMode2.set(r, 2);
    mImage->SetValue(SInt32(PREF_SAVE::kImageMode2.get(r)));
  }
  EnableIf(mImage, !lastSource);
  if (IsStitch()) {
    mImage->DisableItem(6);
    mImage->DisableItem(7);
  }
  if (!lastSource) PREF_SAVE::kLastSource.set(r, UInt32(Source()));
  if (driverWindow) mImage->Disable();
}

void CSaveDialogBox::SetResolution_Popup() {
  RecordBytes r = Working();
  long source = Source();
  const bool lastSource = source == kSourceLast;
  if (lastSource) source = PREF_SAVE::kLastSource.get(r) == kSourceFilm ? kSourceFilm : kSourcePlaten;
  if (source == kSourcePlaten) {
    SetPopupMenu(mResolution, kPlatenResolutionMenu);
    const long size = mSize->GetValue();
    const long width = size == Paper_Size_custom ? long(PREF_SAVE::kCustomSize.width(r)) : long(PaperSizeAt(size).width);
    const ResolutionChoice choice = ChooseResolution(ResolutionSetting{
        PREF_SAVE::kResolution.get(r), FileType(), Code(), IsStitch(), IsStitch_Disregard_UICheckBox(), width});
    for (SInt16 item = 1; item <= SInt16(kResolutionItems); ++item) {
      if (choice.Enabled(UInt32(item)))
        mResolution->EnableItem(item);
      else
        mResolution->DisableItem(item);
    }
    PREF_SAVE::kResolution.set(r, choice.item);
    mResolution->SetValue(SInt32(choice.item));
  } else {
    SetPopupMenu(mResolution, kFilmResolutionMenu);
    mResolution->EnableItem(3);
    if (FileType() >= kTypeFirstPDF) {
      mResolution->DisableItem(3);
      if (PREF_SAVE::kResolution2.get(r) > 2) PREF_SAVE::kResolution2.set(r, 2);
    }
    mResolution->SetValue(SInt32(PREF_SAVE::kResolution2.get(r)));
  }
  EnableIf(mResolution, !lastSource && PREF_SAVE::kCheckUION.get(r) == 0);
}

long CSaveDialogBox::Resolution_Value() {
  const long source = Source();
  if (source == kSourceLast) return ResolutionOfItem(0, kSourceLast);
  return ResolutionOfItem(mResolution->GetValue(), source);
}

void CSaveDialogBox::SetSize_Popup() {
  RecordBytes r = Working();
  long source = Source();
  const bool lastSource = source == kSourceLast;
  if (lastSource) source = PREF_SAVE::kLastSource.get(r) == kSourceFilm ? kSourceFilm : kSourcePlaten;
  bool enabled = !lastSource;
  if (source == kSourcePlaten) {
    SetPopupMenu(mSize, kPlatenSizeMenu);
    mSize->SetValue(SInt32(PREF_SAVE::kPaperSize.get(r)));
    const long code = Code();
    if (code == 5 || code == 6) enabled = false;
  } else {
    SetPopupMenu(mSize, kFilmSizeMenu);
    mSize->SetValue(SInt32(PREF_SAVE::kPaperSize2.get(r)));
    if (mImage->GetValue() == 3) enabled = false;
  }
  EnableIf(mSize, enabled && PREF_SAVE::kCheckUION.get(r) == 0);
  if (Source() == kSourcePlaten && IsStitch()) ClearCorrections();
  if (source == kSourcePlaten) ShowCustomSize();
}

void CSaveDialogBox::ShowCustomSize() {
  if (Paper_Size_custom < 1 || Paper_Size_custom > mSize->CountMenuItems()) return;
  RecordBytes r = Working();
  StDescriptDialog size;
  size.width = PREF_SAVE::kCustomSize.width(r) / 100.0;
  size.height = PREF_SAVE::kCustomSize.height(r) / 100.0;
  size.unit = SInt32(PREF_SAVE::kCustomSize.unit(r));
  Str255 text;
  CWXUtility::ManuscriptPrefToString(size, text);
  mSize->SetMenuItemText(SInt16(Paper_Size_custom), text);
}

void CSaveDialogBox::ClearCorrections() {
  RecordBytes r = Working();
  StPDFDialog::kOptionCBXT.set(PREF_SAVE::kPDF.in(r), 0);
  StJPEGDialog::kLanguageOption.set(PREF_SAVE::kJPEG.in(r), 0);
  StOtherDialog::kLanguageOption.set(PREF_SAVE::kPICT.in(r), 0);
  StOtherDialog::kLanguageOption.set(PREF_SAVE::kTIFF.in(r), 0);
}

void CSaveDialogBox::SetFileType_Popup() {
  RecordBytes r = Working();
  UInt32 type = PREF_SAVE::kFileType.get(r);
  mFileType->SetValue(SInt32(type));
  for (SInt16 item : {4, 5, 6}) mFileType->EnableItem(item);
  const long source = Source();
  const bool blackAndWhite = source == kSourcePlaten && Code() == 1 && PREF_SAVE::kCheckUION.get(r) == 0;
  if (blackAndWhite) {
    mFileType->DisableItem(kTypeJPEG);
    if (type == kTypeJPEG) {
      type = kTypePICT;
      mJPEGSwapped = 1;
    }
  } else {
    mFileType->EnableItem(kTypeJPEG);
    if (mJPEGSwapped == 1) {
      mJPEGSwapped = 0;
      if (type == kTypePICT) type = kTypeJPEG;
    }
  }
  if (type != PREF_SAVE::kFileType.get(r)) PREF_SAVE::kFileType.set(r, type);
  mFileType->SetValue(SInt32(type));
  mFileType->Enable();
}

bool CSaveDialogBox::PDFChosen() {
  const FSSpec pdf = StPDFDialog::kAppendTo.get(PREF_SAVE::kPDF.in(Working()));
  return pdf.name[0] != 0;
}

void CSaveDialogBox::SetFileNameEditText() {
  Str255 name;
  if (FileType() == kTypeAddToPDF && PDFChosen())
    PREF_SAVE::kFileName.get(Working(), name);
  else
    PREF_SAVE::kDefaultFileName.get(Working(), name);
  mName->SetDescriptor(name);
}

void CSaveDialogBox::ShowFolderPath(const FSSpec& spec) {
  SDimension16 frame;
  mFolder->GetFrameSize(frame);
  SInt16 length = 0;
  Handle path = CWXUtility::GetFullPathTrank(spec, SInt16(frame.width - kPathMargin), &length);
  Str255 text{};
  if (path) {
    PStrFromString(std::string_view(*path, size_t(length)), text);
    DisposeHandle(path);
  }
  mFolder->SetDescriptor(text);
}

void CSaveDialogBox::CheckOutputFolder() {
  RecordBytes r = Working();
  const FSSpec folder = PREF_SAVE::kFolder.get(r);
  if (SpecResolves(folder)) return;
  FSSpec fallback{};
  CWXUtility::Get_Default_Dir(&fallback);
  PREF_SAVE::kFolder.set(r, fallback);
}

void CSaveDialogBox::CheckPDFToAddTo() {
  RecordBytes pdf = PREF_SAVE::kPDF.in(Working());
  FSSpec spec = StPDFDialog::kAppendTo.get(pdf);
  if (spec.name[0] == 0 || SpecResolves(spec)) return;
  spec.name[0] = 0;
  StPDFDialog::kAppendTo.set(pdf, spec);
}

void CSaveDialogBox::SetFolderNameEditText() {
  if (FileType() != kTypeAddToPDF) {
    CheckOutputFolder();
    ShowFolderPath(PREF_SAVE::kFolder.get(Working()));
    return;
  }
  CheckPDFToAddTo();
  if (!PDFChosen()) {
    Str255 empty{};
    mFolder->SetDescriptor(empty);
    return;
  }
  ShowFolderPath(StPDFDialog::kAppendTo.get(PREF_SAVE::kPDF.in(Working())));
}

void CSaveDialogBox::SetSaveToStaticText() {
  Str255 text;
  GetIndString(text, kStrings, FileType() == kTypeAddToPDF ? kAddToItem : kSaveToItem);
  mSaveTo->SetDescriptor(text);
}

void CSaveDialogBox::SetFileNamePdfAdd(const FSSpec& pdf) {
  Str255 name;
  std::memcpy(name, pdf.name, size_t(pdf.name[0]) + 1);
  for (int i = name[0]; i >= 1; --i)
    if (name[i] == '.') {
      name[0] = UInt8(i - 1);
      break;
    }
  TruncPString(name, name, SInt16(mName->GetMaxChars() - kNewSuffixLength));
  std::memcpy(name + 1 + name[0], "_New", kNewSuffixLength);
  name[0] = UInt8(name[0] + kNewSuffixLength);
  PREF_SAVE::kFileName.set(Working(), name);
}

void CSaveDialogBox::SetDayInCheckBox() { EnableIf(mDayFolder, FileType() != kTypeAddToPDF); }

void CSaveDialogBox::SetEZCheckBox() {
  if (FileType() != kTypeAddToPDF) {
    mAskName->Enable();
    return;
  }
  RecordBytes r = Working();
  PREF_SAVE::kCheckEZFN.set(r, 0);
  PREF_SAVE::kFlag3622.set(r, 0);
  StQuiet quiet(this);
  mAskName->SetValue(0);
  mAskName->Disable();
}

void CSaveDialogBox::SetPdfCompress() {
  RecordBytes pdf = PREF_SAVE::kPDF.in(Working());
  if (Source() == kSourcePlaten && Code() == 1) {
    StPDFDialog::kSavedCompression.set(pdf, StPDFDialog::kCompression.get(pdf));
    StPDFDialog::kCompression.set(pdf, 1);
    StPDFDialog::kRestricted.set(pdf, 1);
  } else if (StPDFDialog::kRestricted.get(pdf) == 1) {
    StPDFDialog::kCompression.set(pdf, StPDFDialog::kSavedCompression.get(pdf));
    StPDFDialog::kRestricted.set(pdf, 0);
  }
}

void CSaveDialogBox::SetAdobeRGBCheckBox() {
  StQuiet quiet(this);
  bool enabled = false;
  if (!PagesPending() && PREF_SAVE::kCheckUION.get(Working()) == 0) {
    const long code = Code();
    const bool colourless = Source() == kSourcePlaten && (code == 1 || code == 2 || code == 7);
    enabled = !colourless && FileType() == kTypeJPEG;
  }
  if (enabled) {
    mAdobeRGB->Enable();
  } else {
    mAdobeRGB->SetValue(0);
    mAdobeRGB->Disable();
  }
}

void CSaveDialogBox::SetPdfButton() { mOptions->Enable(); }
void CSaveDialogBox::SetUIonBox() { mDriverWindow->Enable(); }
void CSaveDialogBox::SetPreviewCheckBox() { mPreview->Enable(); }

void CSaveDialogBox::SetNameAndSelectAndFolder() {
  mName->Enable();
  mSelect->Enable();
  mFolder->Enable();
}

// ---- Messages ----------------------------------------------------------------------------

void CSaveDialogBox::ListenToMessage(MessageT message, void* param) {
  const long value = param ? *static_cast<SInt32*>(param) : 0;
  switch (message) {
    case msg_Cancel: OnClose(); break;
    case 'MODE': OnMode(value); break;
    case 'IMAG': OnImageMode(value); break;
    case 'RESL': OnResolution(value); break;
    case 'SIZE': OnSize(value); break;
    case 'FTYP': OnFileType(value); break;
    case 'UION': OnDriverWindow(value); break;
    case 'DYIN': PREF_SAVE::kCheckDYIN.set(Working(), UInt8(value)); break;
    case 'SVAD': {
      PREF_SAVE::kCheckSVAD.set(Working(), UInt8(value));
      StQuiet quiet(this);
      SetUIonBox();
      break;
    }
    case 'EZFN':
      PREF_SAVE::kCheckEZFN.set(Working(), UInt8(value));
      PREF_SAVE::kFlag3622.set(Working(), UInt8(value));
      break;
    case 'SPRE': OnPreview(value); break;
    case 'PDFS': OnFormatOptions(); break;
    case 'APLY': OnApply(); break;
    case 'DFLT': OnDefaults(); break;
    case 'FACB': OnHistoryOpens(); break;
    case 'FACA': OnHistoryCloses(); break;
    case 'PuFN': OnHistoryChoice(value); break;
    default: break;
  }
}

void CSaveDialogBox::OnMode(long item) {
  StQuiet quiet(this);
  RecordBytes r = Working();
  if (item != kSourceLast) PREF_SAVE::kLastSource.set(r, PREF_SAVE::kSource.get(r));
  PREF_SAVE::kSource.set(r, UInt32(item));
  SetImageMode_Popup();
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetPdfCompress();
  SetUIonBox();
  SetImageMode_Popup();
}

void CSaveDialogBox::OnImageMode(long item) {
  StQuiet quiet(this);
  RecordBytes r = Working();
  if (Source() == kSourcePlaten)
    PREF_SAVE::kImageMode.set(r, UInt32(GetImageMode(item)));
  else if (Source() == kSourceFilm)
    PREF_SAVE::kImageMode2.set(r, UInt32(item));
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetPdfCompress();
  SetAdobeRGBCheckBox();
  SetUIonBox();
}

void CSaveDialogBox::OnResolution(long item) {
  StQuiet quiet(this);
  if (Source() == kSourcePlaten)
    PREF_SAVE::kResolution.set(Working(), UInt32(item));
  else if (Source() == kSourceFilm)
    PREF_SAVE::kResolution2.set(Working(), UInt32(item));
  SetSize_Popup();
}

void CSaveDialogBox::OnSize(long item) {
  StQuiet quiet(this);
  RecordBytes r = Working();
  if (Source() == kSourcePlaten)
    PREF_SAVE::kPaperSize.set(r, UInt32(item));
  else if (Source() == kSourceFilm)
    PREF_SAVE::kPaperSize2.set(r, UInt32(item));
  if (Source() == kSourcePlaten && IsStitch()) ClearCorrections();
  if (Source() == kSourcePlaten && item == Paper_Size_custom) {
    CWXUtility::EditStoredManuscriptSize(200, this, r, PREF_SAVE::kCustomSize);
    ShowCustomSize();
  }
  SetResolution_Popup();
  SetUIonBox();
  SetImageMode_Popup();
}

void CSaveDialogBox::StoreFileName(UInt32 fileType) {
  Str255 name;
  mName->GetDescriptor(name);
  if (fileType == kTypeAddToPDF && PDFChosen())
    PREF_SAVE::kFileName.set(Working(), name);
  else
    PREF_SAVE::kDefaultFileName.set(Working(), name);
}

void CSaveDialogBox::OnFileType(long item) {
  StQuiet quiet(this);
  RecordBytes r = Working();
  StoreFileName(PREF_SAVE::kFileType.get(r));
  PREF_SAVE::kFileType.set(r, UInt32(item));
  RecordBytes pdf = PREF_SAVE::kPDF.in(r);
  StPDFDialog::kUnused4.set(pdf, (item == kTypeMultiPDF || item == kTypeAddToPDF) ? 1 : 0);
  StPDFDialog::kUnused8.set(pdf, item == kTypeAddToPDF ? 1 : 0);
  if (item == kTypeAddToPDF) CheckPDFToAddTo();
  EnableIf(mAskName, item != kTypeAddToPDF);
  SetResolution_Popup();
  SetFileNameEditText();
  SetSaveToStaticText();
  SetFolderNameEditText();
  SetDayInCheckBox();
  SetEZCheckBox();
  SetPdfButton();
  SetUIonBox();
  SetAdobeRGBCheckBox();
  SetNameAndSelectAndFolder();
  SetPreviewCheckBox();
  SetUIonBox();
}

void CSaveDialogBox::OnDriverWindow(long value) {
  StQuiet quiet(this);
  PREF_SAVE::kCheckUION.set(Working(), UInt8(value));
  if (value) EXIF_PREF::kColourPage.set(PREF_ALL::kExif.in(PrefAll()), 2);
  SetMode_Popup();
  SetImageMode_Popup();
  SetFileType_Popup();
  SetResolution_Popup();
  SetSize_Popup();
  SetAdobeRGBCheckBox();
}

bool CSaveDialogBox::AskToDropPendingPages() {
  return CWXUtility::Show_Error(kAlertLayout, this, kAlertList, kDropPendingPagesQuestion, 1, 1, nullptr, 0) ==
         msg_OK;
}

void CSaveDialogBox::OnPreview(long value) {
  StQuiet quiet(this);
  if (!PagesPending()) {
    PREF_SAVE::kCheckFORE.set(Working(), UInt8(value));
    SetDayInCheckBox();
    SetEZCheckBox();
    SetFileType_Popup();
    SetPdfButton();
    SetNameAndSelectAndFolder();
    return;
  }
  if (!AskToDropPendingPages()) {
    mPreview->SetValue(1);
    return;
  }
  DeletePendingPages();
  mWorking = mCommitted;
  PREF_SAVE::kCheckFORE.set(Working(), 0);
  // The committed record may differ from what the controls showed.
  Prefs_Set(0);
  mPreview->SetValue(0);
}

void CSaveDialogBox::OnFormatOptions() {
  StQuiet quiet(this);
  RecordBytes r = Working();
  const UInt8 driverWindow = PREF_SAVE::kCheckUION.get(r);
  const UInt8 stitch = IsStitch() ? 1 : 0;
  UInt32 fourth = 0;
  switch (FileType()) {
    case kTypePICT:
    case kTypeTIFF: {
      const PrefSub<StOtherDialog>& field = FileType() == kTypePICT ? PREF_SAVE::kPICT : PREF_SAVE::kTIFF;
      StOtherDialog options;
      field.in(r).getBytes(0, options.bytes.data(), StOtherDialog::kSize);
      CWXUtility::OtherSetting(320, this, options, 1, 0, driverWindow, stitch);
      std::memcpy(field.in(r).data(), options.bytes.data(), StOtherDialog::kSize);
      fourth = StOtherDialog::kOptionPRB.get(options.view());
      break;
    }
    case kTypeJPEG: {
      StJPEGDialog options;
      PREF_SAVE::kJPEG.in(r).getBytes(0, options.bytes.data(), StJPEGDialog::kSize);
      CWXUtility::JPEGSetting(310, this, options, 1, 0, driverWindow, stitch);
      std::memcpy(PREF_SAVE::kJPEG.in(r).data(), options.bytes.data(), StJPEGDialog::kSize);
      fourth = StJPEGDialog::kOptionPRB.get(options.view());
      break;
    }
    default: {
      StPDFDialog options;
      PREF_SAVE::kPDF.in(r).getBytes(0, options.bytes.data(), StPDFDialog::kSize);
      CWXUtility::PDFSetting(300, this, options, 0, 0, driverWindow, stitch);
      std::memcpy(PREF_SAVE::kPDF.in(r).data(), options.bytes.data(), StPDFDialog::kSize);
      fourth = StPDFDialog::kOptionCBXP.get(options.view());
      break;
    }
  }
  PREF_SAVE::kSetting3624.set(r, fourth);
}

void CSaveDialogBox::OnApply() {
  Str255 name;
  mName->GetDescriptor(name);
  const long problem = CWXUtility::CheckFileName(name);
  if (problem != 0) {
    CWXUtility::Show_Error(kAlertLayout, this, kAlertList, problem, 0, 1, nullptr, 0);
    return;
  }
  RecordBytes r = Working();
  StoreFileName(PREF_SAVE::kFileType.get(r));
  CWXUtility::CheckHistFileName(name, r, PREF_SAVE::kHistory);
  mCommitted = mWorking;
  Save_Setting();
}

void CSaveDialogBox::OnDefaults() {
  StQuiet quiet(this);
  bool reset = true;
  if (PagesPending()) {
    reset = AskToDropPendingPages();
    if (reset) {
      DeletePendingPages();
      mWorking = mCommitted;
    }
  }
  if (reset) {
    Prefs_Set(1);
    Prefs_Set(0);
    SetSaveToStaticText();
    SetFileNameEditText();
    CheckOutputFolder();
    SetFolderNameEditText();
  }
  Str255 name;
  GetIndString(name, kStrings, kDefaultNameItem);
  RecordBytes r = Working();
  PREF_SAVE::kHistory.setEntry(r, 0, name);
  PREF_SAVE::kHistory.setCount(r, 1);
}

void CSaveDialogBox::OnHistoryOpens() {
  StQuiet quiet(this);
  RecordBytes r = Working();
  Str255 current;
  mName->GetDescriptor(current);
  mHistory->DeleteAllMenuItems();
  mHistoryMatch = 0;
  const UInt32 count = PREF_SAVE::kHistory.count(r);
  SInt16 matched = 0;
  for (UInt32 i = 0; i < count; ++i) {
    Str255 entry;
    PREF_SAVE::kHistory.entry(r, i, entry);
    mHistory->InsertMenuItem(entry, 0);
    if (SameText(entry, current)) {
      matched = SInt16(count - i);
      mHistoryMatch = 1;
    }
  }
  if (mHistoryMatch)
    mHistory->SetValue(matched);
  else
    mHistory->InsertMenuItem(current, 0);
}

void CSaveDialogBox::OnHistoryCloses() {
  StQuiet quiet(this);
  if (mHistoryMatch == 0 && mHistory->CountMenuItems() > 0) mHistory->DeleteMenuItem(1);
  mName->Refresh();
}

void CSaveDialogBox::OnHistoryChoice(long item) {
  if (item < 1 || item > mHistory->CountMenuItems()) return;
  Str255 entry;
  mHistory->GetMenuItemText(SInt16(item), entry);
  StQuiet quiet(this);
  mName->SetDescriptor(entry);
}

void CSaveDialogBox::OnClose() {
  mWorking = mCommitted;
  DoClose();
}

void CSaveDialogBox::DeletePendingPages() {
  for (ArrayIndexT i = 1; i <= mPendingPages.GetCount(); ++i) {
    ScanDataPlus page;
    mPendingPages.FetchItemAt(i, page);
    CWXUtility::DeleteFileWithRetry(page.imageFile);
    CWXUtility::DeleteFileWithRetry(page.rawFile);
  }
  mPendingPages.RemoveAllItems();
  mPendingExif.RemoveAllItems();
}

void CSaveDialogBox::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                       Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
    return;
  }
  if (command == kCommandClose || command == kCommandQuit || command == kCommandSynthetic) {
    outEnabled = mBusy == 0;
    return;
  }
  LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}
