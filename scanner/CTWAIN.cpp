#include "scanner/CTWAIN.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "framework/LAttachable.h"
#include "framework/LSimpleThread.h"
#include "scanner/RawScanFile.h"
#include "scanner/RawScanPage.h"
#include "scanner/TWCapabilities.h"
#include "scanner/TWGlue.h"
#include "scanner/UTwHelper.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

unsigned char CTWAIN::mInit = 0;
LAttachable* CTWAIN::sApplicationHost = nullptr;

namespace {

void CopyPstr(unsigned char* field, size_t capacity, const char* text) {
  size_t n = std::min(std::strlen(text), capacity - 1);
  field[0] = static_cast<unsigned char>(n);
  std::memcpy(field + 1, text, n);
}

// The application as it introduces itself to the manager.
TW_IDENTITY AppIdentity() {
  TW_IDENTITY id{};
  id.Id = 9999;
  id.Version.MajorNum = 5;
  id.Version.MinorNum = 0;
  id.Version.Language = 1;
  id.Version.Country = 1;
  CopyPstr(id.Version.Info, sizeof id.Version.Info, "5.0");
  id.ProtocolMajor = 1;
  id.ProtocolMinor = 0;
  id.SupportedGroups = DG_CONTROL | DG_IMAGE;
  CopyPstr(id.Manufacturer, sizeof id.Manufacturer, "Ostrel");
  CopyPstr(id.ProductFamily, sizeof id.ProductFamily, "Wendrix");
  CopyPstr(id.ProductName, sizeof id.ProductName, "Dremlo Wendrix5.0");
  return id;
}

bool SamePstr(const unsigned char* a, const unsigned char* b) { return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0; }

struct PtrDisposer {
  void operator()(char* p) const { DisposePtr(p); }
};

constexpr double kImageSizeLimitKB = 407887.21875;
constexpr long kPDFRowLimit = 6000;
constexpr double kPDFPixelLimit = 47733462;

}  // namespace

CTWAIN::CTWAIN() : LAttachment(msg_AnyMessage, true), mAppResFile(CurResFile()) {
  InitializeTWAIN();
  if (sApplicationHost) sApplicationHost->AddAttachment(this, nullptr, false);
  mActive = 1;
}

CTWAIN::~CTWAIN() {
  if (mThread && !mDone) mThread->Cancel();
  DisableDS();
  if (GetOwnerHost()) GetOwnerHost()->RemoveAttachment(this);
  mActive = 0;
  UseResFile(mAppResFile);
  TerminateTWAIN();
}

long CTWAIN::InitializeTWAIN() {
  if (mInit == 1) return 0;
  StCurResFile saved;
  TW_IDENTITY identity = AppIdentity();
  short rc = TWInitialize(&identity);
  if (rc == 0) rc = TWOpenDSM();
  TWEventDS(nullptr, nullptr);
  if (rc == 0) mInit = 1;
  return rc;
}

long CTWAIN::TerminateTWAIN() {
  TW_USERINTERFACE ui{};
  if (TWIsDSEnabled()) TWDisableDS(&ui);
  if (TWIsDSOpen()) TWCloseDS();
  mInit = 0;
  return 0;
}

TArray<TW_IDENTITY>* CTWAIN::Get_DataSources() {
  InitializeTWAIN();
  auto* list = new TArray<TW_IDENTITY>;
  TW_IDENTITY id{};
  short rc = TWMessageDSM(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &id);
  if (rc != 0) {
    delete list;
    return nullptr;
  }
  while (rc == 0) {
    list->AddItem(id);
    rc = TWMessageDSM(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &id);
  }
  // The manager stays open: only the source is let go.
  TerminateTWAIN();
  return list;
}

long CTWAIN::SetDriverAndOpen(const unsigned char* productName) {
  std::unique_ptr<TArray<TW_IDENTITY>> list(Get_DataSources());
  if (!list) return 0;
  InitializeTWAIN();
  TW_IDENTITY chosen{};
  bool found = false;
  for (ArrayIndexT i = 1; i <= list->GetCount() && !found; ++i) {
    list->FetchItemAt(i, chosen);
    found = SamePstr(chosen.ProductName, productName);
  }
  list.reset();
  if (!found || TWSetDS(&chosen) != 0 || TWOpenDS() != 0) return 0;
  // Colour matching asked before the source was open is sent now.
  if (mColorMatching >= 0) _TWSetCapabilityOneValue(kCapColorMatching, TWTY_UINT16, mColorMatching);
  return 1;
}

void CTWAIN::Setup_Parameter(long callerCode, unsigned long fileType, unsigned char showDriverUI, long source,
                             long imageMode, long resolution, Rect& area, long level, unsigned char flag) {
  StCurResFile saved;
  mFileType = fileType;
  mCallerCode = callerCode;
  mShowDriverUI = showDriverUI;
  mSource = source;
  mImageMode = imageMode;
  mResolution = resolution;
  mArea = area;
  mLevel = level;
  mFlag = flag;
  SetCapability();
  area = mArea;
}

// Negotiation in a fixed order; the first step a source refuses ends it with its code.
unsigned short CTWAIN::SetCapability() {
  short rc = 0;
  auto failed = [&rc](short code) {
    rc = code;
    return code != 0;
  };
  if (mShowDriverUI) return _TWSetPixelFlavor(TWPF_VANILLA);
  if (mSource == 3) {
    if (mCallerCode == 1) {
      if (failed(_TWSetScanMode(2)) || failed(_TWSetCapabilityOneValue(kCapOptionFlag, TWTY_UINT16, 1))) return rc;
    } else if (mCallerCode == 2 || mCallerCode == 5 || mCallerCode == 7 || mCallerCode == 8) {
      if (failed(_TWSetScanMode(1))) return rc;
      if (mFlag == 1 && failed(_TWSetCapabilityOneValue(kCapOptionFlag, TWTY_UINT16, 1))) return rc;
    }
    _TWSetResolution(mResolution);
    TWSetPixelType(TWPT_RGB);
    return _TWSetBitDepth(8);
  }
  if (mSource == 2) {
    if (failed(_TWSetScanMode(0)) || failed(_TWSetLightPath(TWLP_TRANSMISSIVE)) || failed(_TWSetFilmScanMode(mImageMode)))
      return rc;
  } else if (failed(_TWSetLightPath(TWLP_REFLECTIVE))) {
    return rc;
  }
  if ((mCallerCode == 1 || mFlag == 1) && mSource == 1 &&
      (mCallerCode != 1 || mImageMode == 4 || mImageMode == 7) &&
      failed(_TWSetCapabilityOneValue(kCapOptionFlag, TWTY_UINT16, 1)))
    return rc;
  if (failed(_TWSetResolution(mResolution))) return rc;
  if (mSource == 2) {
    bool gray = mImageMode == 13 || mImageMode == 14;
    if (gray && failed(_TWSetPixelFlavor(TWPF_VANILLA))) return rc;
    if (failed(TWSetPixelType(gray ? TWPT_GRAY : TWPT_RGB))) return rc;
  } else {
    short type = mImageMode == 1 ? TWPT_BW : (mImageMode == 2 || mImageMode == 7) ? TWPT_GRAY : TWPT_RGB;
    if (failed(TWSetPixelType(type))) return rc;
  }
  bool bitmap = mSource == 1 && mImageMode == 1;
  if (failed(_TWSetBitDepth(bitmap ? 1 : 8))) return rc;
  if (mSource == 1 && (mImageMode == 1 || mImageMode == 2 || mImageMode == 7) && failed(_TWSetPixelFlavor(TWPF_VANILLA)))
    return rc;
  if (mSource != 1) return rc;
  return NegotiateSource1(rc);
}

unsigned short CTWAIN::NegotiateSource1(unsigned short last) {
  short rc = static_cast<short>(last);
  auto failed = [&rc](short code) {
    rc = code;
    return code != 0;
  };
  if (failed(_TWSetUnits(TWUN_PIXELS))) return rc;
  long width = -1, height = -1;
  _TWGetGetMaxImageLayout(&width, &height);
  // Only the far edges are clipped, and only on an axis whose size the source told.
  if (width >= 0 && mArea.right > width) mArea.right = static_cast<int16_t>(width);
  if (height >= 0 && mArea.bottom > height) mArea.bottom = static_cast<int16_t>(height);
  TW_FRAME frame{UTwHelper::FloatToFix32(mArea.left), UTwHelper::FloatToFix32(mArea.top),
                 UTwHelper::FloatToFix32(mArea.right), UTwHelper::FloatToFix32(mArea.bottom)};
  if (failed(_TWSetFrames(frame))) return rc;
  if (failed(_TWSetDescreen(mImageMode == 4 || mImageMode == 7 ? 1 : 0))) return rc;
  bool multicrop = mImageMode == 5 || mImageMode == 6;
  if (failed(_TWSetMulticrop_Slant(multicrop ? 1 : 0))) return rc;
  if (mImageMode == 6 && failed(_TWSetCapabilityOneValue(CAP_XFERCOUNT, TWTY_UINT16, 1))) return rc;
  if ((mCallerCode == 1 || mCallerCode == 2) && !multicrop) {
    if (mImageMode == 1) return _TWSetThreshold(TWThresholdForLevel(mLevel));
    return _TWSetBrightness(TWBrightnessForLevel(mLevel));
  }
  if (mImageMode == 1) return _TWSetThreshold(171);
  return rc;
}

void CTWAIN::ClearForScan() {
  mResult = 0;
  mDeepImage = 0;
  mSourceCondition = 0;
  mThread = nullptr;
  mDone = 0;
}

long CTWAIN::Scan() {
  ClearForScan();
  return TWAcquire(mShowDriverUI) == 0 ? 1 : 0;
}

long CTWAIN::Scan_Next(const unsigned char* productName) {
  TerminateTWAIN();
  InitializeTWAIN();
  SetDriverAndOpen(productName);
  mActive = 1;
  SetCapability();
  ClearForScan();
  return TWAcquire(mShowDriverUI);
}

void CTWAIN::Scan_Continue() {
  mDeepImage = 0;
  mSourceCondition = 0;
  mResult = 0;
  mActive = 1;
  mThread = nullptr;
  mDone = 0;
}

void CTWAIN::DisableDS() {
  TW_USERINTERFACE ui{};
  if (TWIsDSEnabled()) TWDisableDS(&ui);
  if (TWIsDSOpen()) TWCloseDS();
}

short CTWAIN::EnableColorMatching(unsigned char on) {
  mColorMatching = on == 1 ? 0 : 2;
  if (!TWIsDSOpen()) return 0;
  return _TWSetCapabilityOneValue(kCapColorMatching, TWTY_UINT16, mColorMatching);
}

short CTWAIN::SetLightPath() { return _TWSetLightPath(TWLP_TRANSMISSIVE); }

void CTWAIN::DataInitialize() {
  mImageInfoList.RemoveAllItems();
  mFileList.RemoveAllItems();
}

// Only events go to the source; the host's own handling is decided per event.
void CTWAIN::ExecuteSelf(MessageT message, void* param) {
  SetExecuteHost(true);
  if (message != msg_Event || !param || mActive != 1) return;
  if (mShowDriverUI && mIdleHook) mIdleHook();
  short msg = 0;
  short rc = TWEventDS(static_cast<EventRecord*>(param), &msg);
  if (rc == TWRC_NOTDSEVENT) return;
  if (msg == MSG_XFERREADY) {
    mActive = 0;
    mThread = new LSimpleThread(Scan_Thread, this);
    mThread->Resume();
    SetExecuteHost(false);
  } else if (msg == MSG_CLOSEDSREQ) {
    mResult = 1;
    mActive = 0;
    mDone = 1;
  } else {
    SetExecuteHost(false);
  }
}

void CTWAIN::Scan_Thread(LThread&, void* arg) {
  static_cast<CTWAIN*>(arg)->Thread();
  LThread::Yield();
}

void CTWAIN::ResetPendingTransfers() {
  TW_PENDINGXFERS pending{};
  TWMessageDS(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
}

// A page that failed keeps its file for the temporary-file clean-up; the source is taken
// out of the transfer before the scan is reported done.
void CTWAIN::EndWithError(short fileRef) {
  if (fileRef != 0) FSClose(fileRef);
  ResetPendingTransfers();
  mResult = 1;
  mDone = 1;
}

void CTWAIN::Thread() {
  StCurResFile saved;
  short fileRef = 0;
  try {
    for (;;) {
      FSSpec spec{};
      if (RawScanFile_Create(mTempFolder, &spec, &fileRef) != noErr) {
        fileRef = 0;
        EndWithError(0);
        return;
      }
      TW_IMAGEINFO info{};
      unsigned short code = TWMemTransferImage(fileRef, &info);
      if ((code != 0 && mDeepImage) || (code != TWRC_SUCCESS && code != TWRC_XFERDONE && code != TWRC_CANCEL)) {
        EndWithError(fileRef);
        return;
      }
      if (code != TWRC_CANCEL) {
        mImageInfoList.AddItem(info);
        mFileList.AddItem(spec);
        unsigned char model[256] = {0};
        if (_TWGetStringCapabilityOneValue(kCapModelString, TWTY_STR255, model) == 0) mModelString = model;
      }
      FSClose(fileRef);
      fileRef = 0;
      if (code == TWRC_CANCEL) FSpDelete(&spec);
      TW_PENDINGXFERS pending{};
      short endCode = TWMessageDS(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
      // A cancelled page keeps its cancel code: the dialogs keep the source's window open on it.
      mResult = code == TWRC_CANCEL ? TWRC_CANCEL : endCode;
      if (endCode != 0) ResetPendingTransfers();
      if (pending.Count == 0 || endCode != 0) break;
    }
    unsigned long lightPath = 0;
    mLightPath = _TWGetCurrentCapabilityOneValue(ICAP_LIGHTPATH, TWTY_UINT16, &lightPath) == 0
                     ? static_cast<short>(lightPath & 0xFFFF)
                     : 0;
    mDone = 1;
  } catch (...) {
    EndWithError(fileRef);
  }
}

// Keeps why the source failed, asked at once: the next message would replace it.
short CTWAIN::SourceFailed(short rc) {
  if (rc != TWRC_FAILURE) return rc;
  TW_STATUS status{};
  if (TWMessageDS(DG_CONTROL, DAT_STATUS, MSG_GET, &status) == TWRC_SUCCESS) mSourceCondition = status.ConditionCode;
  return rc;
}

unsigned short CTWAIN::TWMemTransferImage(short fileRef, TW_IMAGEINFO* info) {
  unsigned long slant = 0;
  mMulticropSlant = _TWGetCurrentCapabilityOneValue(kCapMulticropSlant, TWTY_UINT16, &slant) == 0
                        ? static_cast<unsigned char>(slant & 0xFF)
                        : 0;
  TW_SETUPMEMXFER setup{};
  short rc = TWMessageDS(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup);
  if (rc != 0) return rc;
  if (setup.Preferred == 0) return TWRC_FAILURE;

  std::memset(info, 0, sizeof *info);
  rc = TWMessageDS(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, info);
  if (rc != 0) return SourceFailed(rc);
  if (info->BitsPerPixel == 16 || info->BitsPerPixel == 48) {
    mDeepImage = 1;
    return TWRC_FAILURE;
  }
  const int64_t width = info->ImageWidth, length = info->ImageLength, bpp = info->BitsPerPixel;
  if (mShowDriverUI) {
    if (width / 1024.0 * double(length) * double(bpp) / 8 > kImageSizeLimitKB) {
      mImageSizeOver = 1;
      return TWRC_FAILURE;
    }
    if (mFileType == 'PDF ' && (length > kPDFRowLimit || double(width) * double(length) * 3 > kPDFPixelLimit)) {
      mImageResOver = 1;
      return TWRC_FAILURE;
    }
  }
  TW_PENDINGXFERS pending{};
  rc = TWMessageDS(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending);
  if (rc != 0) return rc;
  RawScanPage page;
  if (!RawScanPage_FromImageInfo(*info, &page)) return TWRC_FAILURE;
  // A block that cannot hold one row brings nothing: the preferred size is raised to two rows
  // (room for any padding) where the source allows that much.
  int64_t blockBytes = std::max<int64_t>(setup.Preferred, 2 * page.rowBytes);
  if (setup.MaxBufSize != 0 && setup.MaxBufSize != TWON_DONTCARE32)
    blockBytes = std::max<int64_t>(setup.Preferred, std::min<int64_t>(blockBytes, setup.MaxBufSize));
  const int64_t bufferSize = blockBytes + 1024;
  std::unique_ptr<char, PtrDisposer> buffer(NewPtrClear(static_cast<Size>(bufferSize)));
  if (!buffer) return TWRC_FAILURE;

  const int64_t rowBytes = page.rowBytes;
  int64_t rowsLeft = page.height;
  for (;;) {
    std::memset(buffer.get(), 0, static_cast<size_t>(bufferSize));
    TW_IMAGEMEMXFER xfer;
    xfer.Compression = 0xFFFF;
    xfer.BytesPerRow = xfer.Columns = xfer.Rows = xfer.XOffset = xfer.YOffset = xfer.BytesWritten = TWON_DONTCARE32;
    xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, TW_UINT32(blockBytes), buffer.get()};
    rc = TWMessageDS(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
    if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) return SourceFailed(rc);
    // Only rows the block really holds, inside the buffer and the page, are written.
    int64_t written = std::min<int64_t>(xfer.BytesWritten, bufferSize);
    int64_t stride = xfer.BytesPerRow;
    int64_t rows = 0;
    if (stride >= rowBytes && stride > 0) rows = std::min<int64_t>({int64_t(xfer.Rows), written / stride, rowsLeft});
    if (rows == 0 && xfer.Rows != 0 && xfer.BytesWritten != 0) return TWRC_FAILURE;  // rows narrower than the image
    for (int64_t r = 0; r < rows; ++r) {
      if (RawScanFile_WriteRow(fileRef, buffer.get() + r * stride, static_cast<long>(rowBytes)) != noErr)
        return TWRC_FAILURE;
    }
    rowsLeft -= rows;
    if (rowsLeft == 0) return rc;
    // The page ended short, or a block brought nothing: a page that cannot complete.
    if (rc == TWRC_XFERDONE || rows == 0) return TWRC_FAILURE;
    // The windows are drawn and the watcher polled between two blocks, not only at the end.
    if (!LThread::InMainThread()) LThread::Yield();
  }
}
