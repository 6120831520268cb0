#include "dialogs/file/ScanSettingPopups.h"

#include <algorithm>

#include "app/CMainWindow.h"
#include "prefs/LanguageTables.h"
#include "dialogs/file/FunctionDialogKit.h"
#include "dialogs/file/ScanSettingRules.h"
#include "framework/LDialogBox.h"
#include "framework/LPopupButton.h"
#include "output/hubdialogs/CWXUtility.h"

namespace {

using namespace ScanSettingRules;
using S = PrefScanSettings;

// Menus from the dialog's ID base.
enum : ResIDT {
  kSourceMenu = 0,
  kPlatenModeMenu = 1,
  kFilmModeMenu = 2,
  kPlatenResolutionMenu = 3,
  kFilmResolutionMenu = 4,
  kPlatenSizeMenu = 6,
  kFilmSizeMenu = 7,
  kFileTypeMenu = 8,
  kOtherFilmModeMenu = 10,
};
constexpr UInt16 kNoFilmAdapterProduct = 0x1240;
constexpr UInt16 kOtherFilmMenuProduct = 0x1120;
constexpr SInt16 kFilmResolutionItems = 3;

void SetPopupMenu(LPopupButton* popup, ResIDT menuID) {
  if (popup->GetMenuID() != menuID) popup->SetMenuID(menuID);
}

// A stored item as the popup can show it.
SInt32 ItemWithin(UInt32 stored, SInt16 items) { return SInt32(std::clamp<UInt32>(stored, 1, UInt32(std::max<SInt16>(items, 1)))); }

}  // namespace

void ScanSettingPopups::Find(LView* dialog, RecordBytes working, RecordBytes prefsAll) {
  using CWXUtility::FindPaneAs;
  mWorking = working;
  mPrefsAll = prefsAll;
  mSource = CWXUtility::FindPaneAs<LPopupButton>(dialog, 'MODE');
  mImage = CWXUtility::FindPaneAs<LPopupButton>(dialog, 'IMAG');
  mResolution = CWXUtility::FindPaneAs<LPopupButton>(dialog, 'RESL');
  mSize = CWXUtility::FindPaneAs<LPopupButton>(dialog, 'SIZE');
  mFileType = CWXUtility::FindPaneAs<LPopupButton>(dialog, 'FTYP');
  SetPopupMenu(mSource, Menu(kSourceMenu));
  SetPopupMenu(mImage, Menu(kPlatenModeMenu));
  SetPopupMenu(mResolution, Menu(kPlatenResolutionMenu));
  SetPopupMenu(mSize, Menu(kPlatenSizeMenu));
  SetPopupMenu(mFileType, Menu(kFileTypeMenu));
}

long ScanSettingPopups::Source() const { return mSource->GetValue(); }
long ScanSettingPopups::Code() const { return ImageModeOfItem(mImage->GetValue(), Source()); }
long ScanSettingPopups::CodeForScan() const {
  const bool otherFilm = Source() == kSourceFilm && CMainWindow::ProductOf(mPrefsAll) == kOtherFilmMenuProduct;
  return otherFilm ? Code() + 10 : Code();
}

UInt32 ScanSettingPopups::FileType() const { return UInt32(mFileType->GetValue()); }

long ScanSettingPopups::ResolutionValue() const {
  const long source = Source();
  if (source == kSourceLast) return ResolutionOfItem(0, kSourceLast);
  return ResolutionOfItem(mResolution->GetValue(), source);
}

bool ScanSettingPopups::IsStitchDisregardingDriverWindow() const {
  const long size = mSize->GetValue();
  const long firstStitch = IS_J ? Paper_Size_B4_Stitch : Paper_Size_11X17_Stitch;
  return Source() == kSourcePlaten &&
         (size == firstStitch || size == Paper_Size_A3_Stitch || size == Paper_Size_432X297_Stitch);
}

bool ScanSettingPopups::IsStitch() const { return !DriverWindow() && IsStitchDisregardingDriverWindow(); }

long ScanSettingPopups::ShownSource() const {
  if (Source() != kSourceLast) return Source();
  return S::kLastSource.get(mWorking) == kSourceFilm ? kSourceFilm : kSourcePlaten;
}

void ScanSettingPopups::ShowRecord() {
  RecordBytes r = mWorking;
  mSource->SetMenuID(Menu(kSourceMenu));
  const bool film = PREF_SETTING::kFilmAdapter.get(PREF_ALL::kSetting.in(mPrefsAll)) == 1 &&
                    CMainWindow::ProductOf(mPrefsAll) != kNoFilmAdapterProduct;
  if (!film) {
    mSource->DeleteMenuItem(3);
    mSource->DeleteMenuItem(2);
    S::kSource.set(r, kSourcePlaten);
  }
  mSource->SetValue(ItemWithin(S::kSource.get(r), mSource->CountMenuItems()));
  S::kSource.set(r, UInt32(mSource->GetValue()));
  mImage->SetValue(SInt32(ItemOfImageMode(long(S::kImageMode.get(r)), kSourcePlaten)));
  mResolution->SetValue(ItemWithin(S::kResolution.get(r), SInt16(kResolutionItems)));
  mSize->SetValue(ItemWithin(S::kPaperSize.get(r), mSize->CountMenuItems()));
  S::kPaperSize.set(r, UInt32(mSize->GetValue()));
  mFields.fileType.set(r, UInt32(ItemWithin(mFields.fileType.get(r), mFileType->CountMenuItems())));
  mFileType->SetValue(SInt32(mFields.fileType.get(r)));
}

void ScanSettingPopups::ShowSource() { CWXUtility::EnableIf(mSource, !DriverWindow()); }

void ScanSettingPopups::ShowImageMode() {
  RecordBytes r = mWorking;
  const bool lastSource = Source() == kSourceLast;
  if (ShownSource() == kSourcePlaten) {
    SetPopupMenu(mImage, Menu(kPlatenModeMenu));
    mImage->SetValue(SInt32(ItemOfImageMode(long(S::kImageMode.get(r)), kSourcePlaten)));
  } else {
    SetPopupMenu(mImage, Menu(CMainWindow::ProductOf(mPrefsAll) == kOtherFilmMenuProduct ? kOtherFilmModeMenu
                                                                                         : kFilmModeMenu));
    mImage->DisableItem(3);
    if (S::kImageMode2.get(r) == 3) S::kImageMode2.set(r, 2);
    mImage->SetValue(SInt32(S::kImageMode2.get(r)));
  }
  CWXUtility::EnableIf(mImage, !lastSource && !DriverWindow());
  if (IsStitch()) {
    mImage->DisableItem(6);
    mImage->DisableItem(7);
  }
  if (!lastSource) S::kLastSource.set(r, UInt32(Source()));
}

void ScanSettingPopups::ShowResolution() {
  RecordBytes r = mWorking;
  if (ShownSource() == kSourcePlaten) {
    SetPopupMenu(mResolution, Menu(kPlatenResolutionMenu));
    const long size = mSize->GetValue();
    const long width =
        size == Paper_Size_custom ? long(mFields.customSize.width(r)) : long(PaperSizeAt(size).width);
    const ResolutionChoice choice = ChooseResolution(ResolutionSetting{
        S::kResolution.get(r), FileType(), Code(), IsStitch(), IsStitchDisregardingDriverWindow(), width});
    for (SInt16 item = 1; item <= SInt16(kResolutionItems); ++item) {
      if (choice.Enabled(UInt32(item)))
        mResolution->EnableItem(item);
      else
        mResolution->DisableItem(item);
    }
    S::kResolution.set(r, choice.item);
    mResolution->SetValue(SInt32(choice.item));
  } else {
    SetPopupMenu(mResolution, Menu(kFilmResolutionMenu));
    mResolution->EnableItem(kFilmResolutionItems);
    UInt32 item = UInt32(ItemWithin(S::kResolution2.get(r), kFilmResolutionItems));
    // PDF pages from film stop at 300 dpi.
    if (FileType() >= kTypeFirstPDF) {
      mResolution->DisableItem(kFilmResolutionItems);
      item = std::min<UInt32>(item, kFilmResolutionItems - 1);
    }
    S::kResolution2.set(r, item);
    mResolution->SetValue(SInt32(item));
  }
  CWXUtility::EnableIf(mResolution, Source() != kSourceLast && !DriverWindow());
}

bool ScanSettingPopups::ShowSize() {
  RecordBytes r = mWorking;
  const long source = ShownSource();
  bool enabled = Source() != kSourceLast;
  if (source == kSourcePlaten) {
    SetPopupMenu(mSize, Menu(kPlatenSizeMenu));
    mSize->SetValue(SInt32(S::kPaperSize.get(r)));
    const long code = Code();
    if (code == 5 || code == 6) enabled = false;
  } else {
    SetPopupMenu(mSize, Menu(kFilmSizeMenu));
    mSize->SetValue(SInt32(S::kPaperSize2.get(r)));
    if (mImage->GetValue() == 3) enabled = false;
  }
  CWXUtility::EnableIf(mSize, enabled && !DriverWindow());
  if (source == kSourcePlaten) FunctionDialogKit::ShowCustomSize(mSize, r, mFields.customSize);
  return Source() == kSourcePlaten && IsStitch();
}

bool ScanSettingPopups::Choose(MessageT message, long value, LDialogBox* dialog, const std::vector<Reshow>& table,
                               const std::function<void(Step)>& showOwn) {
  const auto row = std::find_if(table.begin(), table.end(), [&](const Reshow& r) { return r.message == message; });
  if (row == table.end()) return false;
  CWXUtility::StStopListening quiet(dialog);
  switch (message) {
    case 'MODE': StoreSource(value); break;
    case 'IMAG': StoreImageMode(value); break;
    case 'RESL': StoreResolution(value); break;
    case 'SIZE':
      StoreSize(value);
      if (Source() == kSourcePlaten && IsStitch()) showOwn(kClearStitchCorrections);
      if (Source() == kSourcePlaten && value == Paper_Size_custom) {
        CWXUtility::EditStoredManuscriptSize(200, dialog, mWorking, mFields.customSize);
        FunctionDialogKit::ShowCustomSize(mSize, mWorking, mFields.customSize);
      }
      break;
    case 'FTYP': mFields.fileType.set(mWorking, UInt32(value)); break;
    case 'UION':
      mFields.driverWindow.set(mWorking, UInt8(value));
      if (value) EXIF_PREF::kColourPage.set(PREF_ALL::kExif.in(mPrefsAll), 2);
      break;
    case 'SVAD': mFields.adobeRGB.set(mWorking, UInt8(value)); break;
    default: break;
  }
  for (Step step : row->steps) {
    switch (step) {
      case kShowSource: ShowSource(); break;
      case kShowImageMode: ShowImageMode(); break;
      case kShowResolution: ShowResolution(); break;
      case kShowSize:
        if (ShowSize()) showOwn(kClearStitchCorrections);
        break;
      default: showOwn(step); break;
    }
  }
  return true;
}

void ScanSettingPopups::StoreSource(long item) {
  if (item != kSourceLast) S::kLastSource.set(mWorking, S::kSource.get(mWorking));
  S::kSource.set(mWorking, UInt32(item));
}

void ScanSettingPopups::StoreImageMode(long item) {
  if (Source() == kSourcePlaten)
    S::kImageMode.set(mWorking, UInt32(ImageModeOfItem(item, kSourcePlaten)));
  else if (Source() == kSourceFilm)
    S::kImageMode2.set(mWorking, UInt32(item));
}

void ScanSettingPopups::StoreResolution(long item) {
  if (Source() == kSourcePlaten)
    S::kResolution.set(mWorking, UInt32(item));
  else if (Source() == kSourceFilm)
    S::kResolution2.set(mWorking, UInt32(item));
}

void ScanSettingPopups::StoreSize(long item) {
  if (Source() == kSourcePlaten)
    S::kPaperSize.set(mWorking, UInt32(item));
  else if (Source() == kSourceFilm)
    S::kPaperSize2.set(mWorking, UInt32(item));
}
