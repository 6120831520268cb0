#include "prefs/FactoryDefaults.h"

#include <algorithm>

#include "prefs/LanguageTables.h"
#include "prefs/SiteDefaults.h"
#include "prefs/WXDefaultDir.h"
#include "prefs/WXExifInit.h"
#include "prefs/WXModels.h"
#include "toolbox/Resources.h"

namespace {

constexpr uint16_t kMaxScanWidth = 2160;  // MaxScanSize, tenths of a millimetre
constexpr uint16_t kMaxScanHeight = 2970;
constexpr uint16_t kProduct0x1120 = 0x1120;
const unsigned char kEmptyName[1] = {0};

// String lists of the button names and of the default base file names.
constexpr short kButtonNames = 300;

void StringItem(short list, short item, Str255 out) {
  out[0] = 0;
  GetIndString(out, list, item);
}

void SetStringItem(RecordBytes rec, PrefStr255 field, short list, short item) {
  Str255 s;
  StringItem(list, item, s);
  field.set(rec, s);
}

uint32_t PaperIndex(const FDSources& src) { return uint32_t(src.metric ? Paper_Size_A4 : Paper_Size_letter); }
uint32_t Unit(const FDSources& src) { return src.metric ? PrefDocSize::kCentimetre : PrefDocSize::kInch; }

void CustomSize(RecordBytes rec, PrefDocSize field, const FDSources& src) {
  field.set(rec, kMaxScanWidth, kMaxScanHeight, Unit(src));
}

// Product ID of the configured model, with the stored TWAIN flag.
long ConfiguredProductID(RecordBytes all) {
  RecordBytes setting = PREF_ALL::kSetting.in(all);
  Str255 model;
  PREF_SETTING::kModelName.get(setting, model);
  return FDProductID(PREF_SETTING::kTWAIN.get(setting), model);
}

void DefaultFolder(RecordBytes rec, PrefSpec field) {
  field.clear(rec);
  FSSpec folder{};
  if (CWXUtility::Get_Default_Dir(&folder)) field.set(rec, folder);
}

// The default base file name, and a history holding it alone.
void DefaultNameAndHistory(RecordBytes rec, PrefStr255 nameField, PrefHistory history, short list) {
  Str255 name;
  StringItem(list, 1, name);
  nameField.set(rec, name);
  history.setCount(rec, 1);
  history.setEntry(rec, 0, name);
}

// A target application from the site defaults, or cleared.
void SiteApplication(RecordBytes rec, PrefSpec field, short aliasID) {
  FSSpec app{};
  if (SDResolveAlias(aliasID, &app)) field.set(rec, app);
  else field.clear(rec);
}

enum class PDFVariant { kMailSave, kFileRecord0, kFileRecordN };

void PDFDefaults(RecordBytes pdf, PDFVariant variant) {
  const bool file = variant != PDFVariant::kMailSave;
  StPDFDialog::kLanguageOption.set(pdf, 1);
  StPDFDialog::kUnused4.set(pdf, file ? 1 : 0);
  StPDFDialog::kUnused8.set(pdf, 0);
  StPDFDialog::kLanguage.set(pdf, FDLanguageValue());
  StPDFDialog::kCompression.set(pdf, 1);
  if (file) StPDFDialog::kSavedCompression.set(pdf, 1);
  StPDFDialog::kRestricted.set(pdf, 0);
  StPDFDialog::kAppendTo.clear(pdf);
  StPDFDialog::kOptionCBCR.set(pdf, 1);
  StPDFDialog::kOptionCBXT.set(pdf, 1);
  StPDFDialog::kOptionCBXP.set(pdf, 0);
  if (variant == PDFVariant::kFileRecordN) StPDFDialog::kUnused108.set(pdf, 0);
}

void JPEGDefaults(RecordBytes jpeg) {
  StJPEGDialog::kLanguageOption.set(jpeg, 0);
  StJPEGDialog::kLanguage.set(jpeg, FDLanguageValue());
  StJPEGDialog::kOptionSLT.set(jpeg, 0);
  StJPEGDialog::kOptionPRB.set(jpeg, 0);
  StJPEGDialog::kCompression.set(jpeg, 2);
}

void OtherDefaults(RecordBytes other) {
  StOtherDialog::kLanguageOption.set(other, 0);
  StOtherDialog::kLanguage.set(other, FDLanguageValue());
  StOtherDialog::kOptionSLT.set(other, 0);
  StOtherDialog::kOptionPRB.set(other, 0);
}

// The scan settings at the head of the Copy, Print, Save and Scan records.
void ScanSettings(RecordBytes rec, RecordBytes all, const FDSources& src, uint32_t source, uint32_t imageMode,
                  uint32_t resolution) {
  using R = PrefScanSettings;
  R::kSource.set(rec, source);
  R::kLastSource.set(rec, 1);
  R::kImageMode.set(rec, imageMode);
  R::kImageMode2.set(rec, ConfiguredProductID(all) == kProduct0x1120 ? 1 : 2);
  R::kResolution.set(rec, resolution);
  R::kResolution2.set(rec, 2);
  R::kPaperSize.set(rec, PaperIndex(src));
  R::kPaperSize2.set(rec, 1);
}

// The JPEG, PICT and TIFF settings records inside a function record.
template <class R>
void ImageFormatDefaults(RecordBytes rec) {
  JPEGDefaults(R::kJPEG.in(rec));
  OtherDefaults(R::kPICT.in(rec));
  OtherDefaults(R::kTIFF.in(rec));
}

// How much of a File record a reset writes.
struct FileReset {
  bool currentTab;   // +0
  bool siteApp;      // record 0's target application from the site defaults
  bool flag3672;     // +3672
};

constexpr uint32_t kFileTabDefault[PREF_ALL::kFileRecords] = {1, 0, 1, 1, 1};
constexpr uint32_t kFileSetting4[PREF_ALL::kFileRecords] = {3, 3, 3, 1, 3};

void FileRecord(RecordBytes all, uint32_t k, const FileReset& how, const FDSources& src) {
  using R = PREF_FILE;
  RecordBytes rec = PREF_ALL::File(k).in(all);
  if (how.currentTab) R::kCurrentTab.set(rec, kFileTabDefault[k]);
  R::kSetting4.set(rec, kFileSetting4[k]);
  R::kSetting8.set(rec, 5);
  R::kPaperSize.set(rec, PaperIndex(src));
  R::kSetting16.set(rec, 2);
  R::kFlag20.set(rec, 0);
  R::kFlag21.set(rec, 1);
  SetStringItem(rec, R::kButtonName, kButtonNames, 6);
  DefaultNameAndHistory(rec, R::kDefaultFileName, R::kHistory, 5000);
  R::kFileName.set(rec, kEmptyName);
  DefaultFolder(rec, R::kFolder);
  if (k == 0 && how.siteApp) SiteApplication(rec, R::kTargetApp, 5002);
  R::kTag.set(rec, kButtonTagBase + 2);
  CustomSize(rec, R::kCustomSize, src);
  PDFDefaults(R::kPDF.in(rec), k == 0 ? PDFVariant::kFileRecord0 : PDFVariant::kFileRecordN);
  ImageFormatDefaults<R>(rec);
  if (how.flag3672) R::kFlag3672.set(rec, 0);
  R::kFlag3673.set(rec, k == 4 ? 1 : 0);
  if (k != 1) R::kFlag3674.set(rec, 0);
  R::kFlag3675.set(rec, 0);
  R::kSetting3676.set(rec, 0);
  R::kFlag3680.set(rec, 1);
  R::kButtonPending.set(rec, 1);
}

RecordBytes ScanRecord(RecordBytes all, bool scan2, const FDSources& src) {
  using R = PREF_SCANX;
  RecordBytes rec = (scan2 ? PREF_ALL::kScan2 : PREF_ALL::kScan1).in(all);
  ScanSettings(rec, all, src, 3, 5, 5);
  R::kFileType.set(rec, 2);
  R::kCheckUION.set(rec, 0);
  R::kCheckDYIN.set(rec, 1);
  SetStringItem(rec, R::kButtonName, kButtonNames, scan2 ? 8 : 7);
  DefaultNameAndHistory(rec, R::kDefaultFileName, R::kHistory, scan2 ? 7000 : 6000);
  DefaultFolder(rec, R::kFolder);
  SiteApplication(rec, R::kTargetApp, scan2 ? 5001 : 5000);
  R::kTag.set(rec, scan2 ? 0 : kButtonTagBase + 1);
  CustomSize(rec, R::kCustomSize, src);
  R::kCheckFIRE.set(rec, 0);
  ImageFormatDefaults<R>(rec);
  R::kCheckEZFN.set(rec, 0);
  R::kFlag3437.set(rec, 0);
  return rec;
}

}  // namespace

long FDProductID(unsigned char isTWAIN, ConstStr255Param modelName) {
  if (!isTWAIN) return 0;
  const ScannerTableRow* row = ScannerTableFind(modelName);
  return row ? row->productID : 0;
}

uint32_t FDLanguageValue() {
  if (IS_J || IS_E) return 1;
  if (IS_F) return 2;
  return 4;
}

void FDSetDefault(RecordBytes all, const FDSources& src) {
  FDScannerDriver(all, src);
  FDSetting(all);
  FDCopy(all, src);
  FDPrint(all, src);
  FDMail(all, src);
  FDOCR(all, src);
  FDSave(all, src);
  FDFile(all, src);
  FDScan1(all, src);
  FDScan2(all, src);
  PREF_ALL::kWindowTop.set(all, 0);
  PREF_ALL::kWindowLeft.set(all, 0);
  FDExif(all);
  PREF_ALL::kLastButton.set(all, 0);
}

RecordBytes FDScannerDriver(RecordBytes all, const FDSources& src) {
  Str255 name = {0};
  std::vector<std::vector<unsigned char>> sources;
  if (src.dataSources && src.dataSources(&sources)) {
    for (const std::vector<unsigned char>& product : sources) {
      if (product.empty() || product.size() < size_t(product[0]) + 1) continue;
      if (ScannerTableFind(product.data())) std::copy(product.begin(), product.begin() + product[0] + 1, name);
      if (name[0] != 0) break;
    }
  }
  RecordBytes setting = PREF_ALL::kSetting.in(all);
  PREF_SETTING::kModelName.set(setting, name);
  return setting;
}

RecordBytes FDSetting(RecordBytes all) {
  using R = PREF_SETTING;
  RecordBytes rec = PREF_ALL::kSetting.in(all);
  Str255 model;
  R::kModelName.get(rec, model);
  const bool fourButtons = CWXUtility::Is4ButtonDriver(FDProductID(1, model));
  R::kButtonSlot0.set(rec, 1);
  R::kButtonSlot1.set(rec, 6);
  if (fourButtons) R::kButtonSlot2.set(rec, 8);
  R::kButtonSlot3.set(rec, 3);
  SetStringItem(rec, R::kButtonName, kButtonNames, 9);
  SetStringItem(rec, R::kPopupText, kButtonNames, 10);
  R::kTWAIN.set(rec, 1);
  R::kTag.set(rec, 0);
  R::kFilmAdapter.set(rec, 1);
  R::kQuitOption.set(rec, 0);
  R::kCheckDone.set(rec, 0);
  FSSpec temp{}, base{};
  if (CWXUtility::Get_Default_TempDir(&temp, &base)) {
    R::kTempFolder.set(rec, temp);
    R::kTempBase.set(rec, base);
  }
  return rec;
}

RecordBytes FDCopy(RecordBytes all, const FDSources& src) {
  using R = PREF_COPY;
  RecordBytes rec = PREF_ALL::kCopy.in(all);
  ScanSettings(rec, all, src, 3, 3, 2);
  R::kBrightness.set(rec, 4);
  R::kScale.set(rec, uint32_t(Copy_Popup_100Percent));
  R::kScale2.set(rec, 1);
  R::kCustomPercent.set(rec, 100);
  R::kCheckUION.set(rec, 0);
  SetStringItem(rec, R::kButtonName, kButtonNames, 1);
  R::kTag.set(rec, kButtonTagBase);
  CustomSize(rec, R::kCustomSize, src);
  R::kScanOption.set(rec, 1);
  R::kFirstPage.set(rec, 1);
  R::kLastPage.set(rec, 1);
  R::kCopies.set(rec, 1);
  R::kCollate.set(rec, 1);
  return rec;
}

RecordBytes FDPrint(RecordBytes all, const FDSources& src) {
  using R = PREF_PRINT;
  RecordBytes rec = PREF_ALL::kPrint.in(all);
  ScanSettings(rec, all, src, 1, 5, 2);
  R::kBrightness.set(rec, 4);
  R::kCheckUION.set(rec, 0);
  SetStringItem(rec, R::kButtonName, kButtonNames, 2);
  R::kTag.set(rec, 0);
  CustomSize(rec, R::kCustomSize, src);
  R::kJob308.set(rec, 1);
  R::kJob312.set(rec, 1);
  R::kJob316.set(rec, 1);
  R::kCopies.set(rec, 1);
  R::kJobFlag.set(rec, 1);
  return rec;
}

RecordBytes FDMail(RecordBytes all, const FDSources& src) {
  using R = PREF_MAIL;
  RecordBytes rec = PREF_ALL::kMail.in(all);
  R::kSetting0.set(rec, 5);
  R::kSetting4.set(rec, 1);
  R::kPaperSize.set(rec, PaperIndex(src));
  R::kSetting12.set(rec, 1);
  R::kSetting16.set(rec, 1);
  R::kCheckUION.set(rec, 0);
  R::kCheckDYIN.set(rec, 1);
  SetStringItem(rec, R::kButtonName, kButtonNames, 3);
  DefaultNameAndHistory(rec, R::kDefaultFileName, R::kHistory, 2000);
  R::kFileName.set(rec, kEmptyName);
  DefaultFolder(rec, R::kFolder);
  R::kMailApp.clear(rec);
  R::kTag.set(rec, kButtonTagBase + 3);
  CustomSize(rec, R::kCustomSize, src);
  PDFDefaults(R::kPDF.in(rec), PDFVariant::kMailSave);
  ImageFormatDefaults<R>(rec);
  R::kCheckAIRE.set(rec, 0);
  R::kMailAppCount.set(rec, 0);
  rec.fill(R::kMailApps.off, R::kMailApps.size, 0);
  R::kCheckEZFN.set(rec, 0);
  R::kFlag21601.set(rec, 0);
  R::kSetting21604.set(rec, 0);
  return rec;
}

RecordBytes FDOCR(RecordBytes all, const FDSources& src) {
  using R = PREF_OCR;
  RecordBytes rec = PREF_ALL::kOCR.in(all);
  const bool colour = CWXUtility::IsColorOCRDriver(ConfiguredProductID(all));
  R::kColourMode.set(rec, colour ? 3 : 1);
  R::kSetting4.set(rec, 1);
  R::kPaperSize.set(rec, PaperIndex(src));
  R::kColourSetting.set(rec, colour ? 2 : 1);
  R::kFlag16.set(rec, 0);
  R::kCheckDYIN.set(rec, 1);
  SetStringItem(rec, R::kButtonName, kButtonNames, 4);
  DefaultNameAndHistory(rec, R::kDefaultFileName, R::kHistory, 3000);
  DefaultFolder(rec, R::kFolder);
  SiteApplication(rec, R::kOCRApp, 5003);
  R::kTag.set(rec, 0);
  CustomSize(rec, R::kCustomSize, src);
  ImageFormatDefaults<R>(rec);
  R::kCheckEZFN.set(rec, 0);
  R::kFlag3413.set(rec, 0);
  R::kSetting3416.set(rec, 0);
  return rec;
}

RecordBytes FDSave(RecordBytes all, const FDSources& src) {
  using R = PREF_SAVE;
  RecordBytes rec = PREF_ALL::kSave.in(all);
  ScanSettings(rec, all, src, 1, 3, 5);
  R::kFileType.set(rec, 2);
  R::kCheckUION.set(rec, 0);
  R::kCheckDYIN.set(rec, 1);
  SetStringItem(rec, R::kButtonName, kButtonNames, 5);
  DefaultNameAndHistory(rec, R::kDefaultFileName, R::kHistory, 4000);
  R::kFileName.set(rec, kEmptyName);
  DefaultFolder(rec, R::kFolder);
  R::kTag.set(rec, 0);
  CustomSize(rec, R::kCustomSize, src);
  PDFDefaults(R::kPDF.in(rec), PDFVariant::kMailSave);
  ImageFormatDefaults<R>(rec);
  R::kCheckFORE.set(rec, 0);
  R::kCheckEZFN.set(rec, 0);
  R::kFlag3622.set(rec, 0);
  R::kSetting3624.set(rec, 0);
  return rec;
}

RecordBytes FDFile(RecordBytes all, const FDSources& src) {
  for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k) FileRecord(all, k, FileReset{true, true, true}, src);
  return PREF_ALL::File(0).in(all);
}

RecordBytes FDFileTab(RecordBytes all, long tab, const FDSources& src) {
  using R = PREF_FILE;
  if (tab == 0) {
    R::kCurrentTab.set(PREF_ALL::File(0).in(all), 0);
    R::kCurrentTab.set(PREF_ALL::File(1).in(all), 0);
  } else {
    for (uint32_t k : {0u, 2u, 3u, 4u}) R::kCurrentTab.set(PREF_ALL::File(k).in(all), uint32_t(tab));
  }
  for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k) {
    RecordBytes rec = PREF_ALL::File(k).in(all);
    R::kButtonPending.set(rec, 1);
    R::kTag.set(rec, kButtonTagBase + 2);
  }
  if (tab < 0 || tab > 3) return PREF_ALL::File(0).in(all);

  const FileReset how{false, tab == 0, tab == 0};
  FileRecord(all, 0, how, src);
  FileRecord(all, uint32_t(tab) + 1, how, src);
  if (tab == 0) R::kFlag3674.set(PREF_ALL::File(1).in(all), 0);
  if (tab == 3)
    for (uint32_t k = 0; k < PREF_ALL::kFileRecords; ++k) R::kFlag3680.set(PREF_ALL::File(k).in(all), 1);
  return PREF_ALL::File(uint32_t(tab) + 1).in(all);
}

RecordBytes FDScan1(RecordBytes all, const FDSources& src) { return ScanRecord(all, false, src); }
RecordBytes FDScan2(RecordBytes all, const FDSources& src) { return ScanRecord(all, true, src); }

RecordBytes FDExif(RecordBytes all) {
  Str255 model;
  PREF_SETTING::kModelName.get(PREF_ALL::kSetting.in(all), model);
  RecordBytes exif = PREF_ALL::kExif.in(all);
  CWXUtility::InitExifInfo(exif, model);
  return exif;
}

void FDButtonNames(RecordBytes all) {
  SetStringItem(PREF_ALL::kCopy.in(all), PREF_COPY::kButtonName, kButtonNames, 1);
  SetStringItem(PREF_ALL::kMail.in(all), PREF_MAIL::kButtonName, kButtonNames, 3);
  SetStringItem(PREF_ALL::kOCR.in(all), PREF_OCR::kButtonName, kButtonNames, 4);
  SetStringItem(PREF_ALL::kSave.in(all), PREF_SAVE::kButtonName, kButtonNames, 5);
  SetStringItem(PREF_ALL::File(0).in(all), PREF_FILE::kButtonName, kButtonNames, 6);
  SetStringItem(PREF_ALL::kScan1.in(all), PREF_SCANX::kButtonName, kButtonNames, 7);
  SetStringItem(PREF_ALL::kScan2.in(all), PREF_SCANX::kButtonName, kButtonNames, 8);
  SetStringItem(PREF_ALL::kSetting.in(all), PREF_SETTING::kButtonName, kButtonNames, 9);
}

void FDFileNames(RecordBytes all) {
  SetStringItem(PREF_ALL::kMail.in(all), PREF_MAIL::kDefaultFileName, 2000, 1);
  SetStringItem(PREF_ALL::kOCR.in(all), PREF_OCR::kDefaultFileName, 3000, 1);
  SetStringItem(PREF_ALL::kSave.in(all), PREF_SAVE::kDefaultFileName, 4000, 1);
  SetStringItem(PREF_ALL::File(0).in(all), PREF_FILE::kDefaultFileName, 5000, 1);
  SetStringItem(PREF_ALL::kScan1.in(all), PREF_SCANX::kDefaultFileName, 6000, 1);
  SetStringItem(PREF_ALL::kScan2.in(all), PREF_SCANX::kDefaultFileName, 7000, 1);
}

namespace {

bool HasControlBytes(ConstStr255Param s) {
  for (int i = 1; i <= s[0]; ++i)
    if (s[i] < 0x20 || s[i] == 0x7F) return true;
  return false;
}

void RepairCaption(RecordBytes rec, PrefStr255 field, short item) {
  Str255 s;
  field.get(rec, s);
  if (HasControlBytes(s)) SetStringItem(rec, field, kButtonNames, item);
}

}  // namespace

void FDRepairRecord(RecordBytes all) {
  RepairCaption(PREF_ALL::kCopy.in(all), PREF_COPY::kButtonName, 1);
  RepairCaption(PREF_ALL::kMail.in(all), PREF_MAIL::kButtonName, 3);
  RepairCaption(PREF_ALL::kOCR.in(all), PREF_OCR::kButtonName, 4);
  RepairCaption(PREF_ALL::kSave.in(all), PREF_SAVE::kButtonName, 5);
  for (int k = 0; k < 5; ++k) RepairCaption(PREF_ALL::File(k).in(all), PREF_FILE::kButtonName, 6);
  RepairCaption(PREF_ALL::kScan1.in(all), PREF_SCANX::kButtonName, 7);
  RepairCaption(PREF_ALL::kScan2.in(all), PREF_SCANX::kButtonName, 8);
  RepairCaption(PREF_ALL::kSetting.in(all), PREF_SETTING::kButtonName, 9);
}
