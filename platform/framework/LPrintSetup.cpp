#include "framework/LPrintSetup.h"

#include <cmath>

#include "framework/LException.h"

namespace {

void ThrowIfPMError(OSStatus status) {
  if (status != noErr) Throw_(ExceptionCode(status));
}

Rect ToRect(const PMRect& r) {
  return Rect{SInt16(std::lround(r.top)), SInt16(std::lround(r.left)), SInt16(std::lround(r.bottom)),
              SInt16(std::lround(r.right))};
}

}  // namespace

LPrintSpec::LPrintSpec() = default;

LPrintSpec::~LPrintSpec() {
  if (mSession) PMRelease(mSession);
  if (mPageFormat) PMRelease(mPageFormat);
  if (mPrintSettings) PMRelease(mPrintSettings);
}

void LPrintSpec::BeginSession() {
  if (mSessionDepth++ > 0) return;
  const OSStatus status = PMCreateSession(&mSession);
  if (status != noErr) {
    mSessionDepth = 0;
    mSession = nullptr;
    ThrowIfPMError(status);
  }
  if (mPrinterName.empty()) return;
  // A printer that has gone since leaves the session's own current.
  CFStringRef name = CFStringCreateWithCString(nullptr, mPrinterName.c_str(), kCFStringEncodingUTF8);
  if (name) {
    PMSessionSetCurrentPrinter(mSession, name);
    CFRelease(name);
  }
}

void LPrintSpec::EndSession() {
  if (mSessionDepth == 0 || --mSessionDepth > 0) return;
  PMRelease(mSession);
  mSession = nullptr;
}

void LPrintSpec::FillDefaults() {
  if (!mSession) Throw_(err_NilPointer);
  PMPageFormat format = nullptr;
  PMPrintSettings settings = nullptr;
  PMCreatePageFormat(&format);
  PMCreatePrintSettings(&settings);
  OSStatus status = PMSessionDefaultPageFormat(mSession, format);
  if (status == noErr) status = PMSessionDefaultPrintSettings(mSession, settings);
  if (status != noErr) {
    PMRelease(format);
    PMRelease(settings);
    ThrowIfPMError(status);
  }
  mPageFormat = format;
  mPrintSettings = settings;
}

PMPageFormat LPrintSpec::GetPageFormat() {
  if (!mPageFormat) FillDefaults();
  else if (mSession) PMSessionValidatePageFormat(mSession, mPageFormat, nullptr);
  return mPageFormat;
}

PMPrintSettings LPrintSpec::GetPrintSettings() {
  if (!mPrintSettings) FillDefaults();
  return mPrintSettings;
}

void LPrintSpec::GetPageRect(Rect& outRect) const {
  PMRect r{0, 0, 0, 0};
  if (mPageFormat) PMGetAdjustedPageRect(mPageFormat, &r);
  outRect = ToRect(r);
}

void LPrintSpec::GetPaperRect(Rect& outRect) const {
  PMRect r{0, 0, 0, 0};
  if (mPageFormat) PMGetAdjustedPaperRect(mPageFormat, &r);
  outRect = ToRect(r);
}

void LPrintSpec::SetPrintJobParams(UInt32 firstPage, UInt32 lastPage, UInt32 copies) {
  PMPrintSettings settings = GetPrintSettings();
  ThrowIfPMError(PMSetFirstPage(settings, firstPage, false));
  ThrowIfPMError(PMSetLastPage(settings, lastPage, false));
  ThrowIfPMError(PMSetCopies(settings, copies, false));
}

void LPrintSpec::GetPrintJobParams(UInt32& firstPage, UInt32& lastPage, UInt32& copies) {
  PMPrintSettings settings = GetPrintSettings();
  PMGetFirstPage(settings, &firstPage);
  PMGetLastPage(settings, &lastPage);
  PMGetCopies(settings, &copies);
}
