#include "scanner/Scanner.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "scanner/RawScanFile.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"

namespace {

const unsigned char PlugIn_Dir_Name[] = "\x08" "Plug-Ins";
const unsigned char kDispatchableName[] = "\x14" "Dispatchable Plug-in";
const unsigned char kAcquireName[] = "\x14" "AcquireOstrel Ver1.1";

constexpr OSType kPlugInType = '8BAM';
constexpr OSType kPlugInCreator = '8BIM';
constexpr ResType kDispatchType = 'DiSp';
constexpr SInt16 kDispatchID = 16000;
constexpr ResType kVersionType = 'vers';

enum : short { kSelectorStart = 1, kSelectorContinue = 2, kSelectorFinish = 3, kSelectorPrepare = 4, kSelectorFinalize = 5 };

// Indexed by level 1..10.
const long Scanner_ThresholdTBL[10] = {50, 75, 100, 128, 150, 175, 200, 128, 128, 0};
const long Scanner_BrightnessTBL[10] = {-400, -200, -100, 0, 100, 200, 400, 0, 0, 0};

unsigned char HostAbort() { return 0; }
void HostProgress(long, long) {}
void HostEvent(void*) {}

// The first two bytes of 'vers' 1 of the current file, or -1 when it is missing or short.
long ReadVersionWord() {
  Handle h = Get1Resource(kVersionType, 1);
  if (!h) return -1;
  long version = GetHandleSize(h) >= 2 ? (static_cast<unsigned char>((*h)[0]) << 8) | static_cast<unsigned char>((*h)[1]) : -1;
  ReleaseResource(h);
  return version;
}

bool IsDispatchable() {
  Handle h = Get1Resource(kDispatchType, kDispatchID);
  if (!h) return false;
  Size size = GetHandleSize(h);
  bool same = size >= 1 && static_cast<unsigned char>((*h)[0]) == kDispatchableName[0] && size >= 1 + kDispatchableName[0] &&
              std::memcmp(*h + 1, kDispatchableName + 1, kDispatchableName[0]) == 0;
  ReleaseResource(h);
  return same;
}

bool AcceptedVersion(long version) {
  switch (version & 0x0FF0) {
    case 0x0700: case 0x0710: case 0x0800: case 0x0810: case 0x0820: return true;
    default: return false;
  }
}

// Whether the file is a plug-in this host can drive; a file whose resources do not open is not.
bool IsAcceptablePlugIn(const FSSpec& file) {
  FInfo info{};
  if (FSpGetFInfo(&file, &info) != noErr || info.fdType != kPlugInType || info.fdCreator != kPlugInCreator) return false;
  SInt16 ref = FSpOpenResFile(&file, fsRdPerm);
  if (ref == -1) return false;
  bool ok = IsDispatchable();
  long version = ok ? ReadVersionWord() : -1;
  CloseResFile(ref);
  return ok && version >= 0 && AcceptedVersion(version);
}

bool FolderID(const FSSpec& folder, SInt32* dirID) {
  Boolean isDirectory = false;
  return FSpGetDirectoryID(&folder, dirID, &isDirectory) == noErr && isDirectory;
}

}  // namespace

Scanner::Scanner() : mRecord(new OstrelScannerRecord{}) {}

Scanner::~Scanner() {
  if (mConnection) DriverClose();
  mMain = nullptr;
  if (mResFile != -1) CloseResFile(mResFile);
  delete mRecord;
}

long Scanner::GetPlugIn_Dir(FSSpec& folder) {
  OSErr err = FSMakeFSSpec(0, 0, PlugIn_Dir_Name, &folder);
  if (err == fnfErr) {
    SInt32 created = 0;
    err = FSpDirCreate(&folder, smSystemScript, &created);
  }
  return err == noErr ? 1 : 0;
}

TArray<FSSpec>* Scanner::GetPlugIns() {
  StCurResFile saved;
  FSSpec folder{};
  SInt32 dirID = 0;
  if (!GetPlugIn_Dir(folder) || !FolderID(folder, &dirID)) return nullptr;
  auto* list = new TArray<FSSpec>;
  for (SInt16 index = 1;; ++index) {
    FSSpec file{};
    SInt16 found = 0, at = index;
    if (GetDirItems(folder.vRefNum, dirID, nullptr, true, false, &file, 1, &found, &at) != noErr || found != 1) break;
    // A damaged file is passed over; it does not hide the plug-ins after it.
    if (IsAcceptablePlugIn(file)) list->AddItem(file);
  }
  return list;
}

long Scanner::GetDriverVersion(FSSpec& file) {
  StCurResFile saved;
  SInt16 ref = FSpOpenResFile(&file, fsRdPerm);
  if (ref == -1) return 0;
  long version = ReadVersionWord();
  CloseResFile(ref);
  return version < 0 ? 0 : version & 0xFFF0;
}

long Scanner::SetDriverAndOpen(unsigned char* fileName) {
  StCurResFile saved;
  FSSpec folder{}, file{};
  SInt32 dirID = 0;
  if (!GetPlugIn_Dir(folder) || !FolderID(folder, &dirID)) return 0;
  if (FSMakeFSSpec(folder.vRefNum, dirID, fileName, &file) != noErr) return 0;
  // Read-only: the host only reads the plug-in's resources, and plug-ins may sit on read-only media.
  SInt16 ref = FSpOpenResFile(&file, fsRdPerm);
  if (ref == -1) return 0;
  CFragConnectionID connection = nullptr;
  Ptr main = nullptr;
  Str255 error;
  if (GetDiskFragment(&file, 0, kCFragGoesToEOF, nullptr, kLoadCFrag, &connection, &main, error) != noErr || !main) {
    if (connection) CloseConnection(&connection);
    CloseResFile(ref);
    return 0;
  }
  mConnection = connection;
  mMain = reinterpret_cast<PlugInEntryProc>(main);
  mResFile = ref;
  mPlugInSpec = file;
  return 1;
}

void Scanner::DriverClose() {
  if (mConnection) CloseConnection(&mConnection);
  mMain = nullptr;
  if (mResFile != -1) CloseResFile(mResFile);
  mResFile = -1;
}

void Scanner::SetHostSig(long callerCode, unsigned char showDriverUI, long source, long imageMode) {
  OSType sig = 0;
  if (showDriverUI) {
    if (callerCode == 4) sig = 'Dd%#';
    else if (callerCode == 1 || callerCode == 3 || callerCode == 5 || callerCode == 6 || callerCode == 7 || callerCode == 8)
      sig = 'Dd%^';
  } else if (source == 1) {
    sig = imageMode == 5 ? 'Aa%+' : imageMode == 6 ? 'Aa%-' : 'Aa%^';
  } else if (source == 2) {
    sig = imageMode == 1 ? 'Ff%+' : imageMode == 2 ? 'Ff%-' : imageMode == 3 ? 'Ff%^' : 0;
  } else if (source == 3) {
    sig = callerCode == 1 ? 'Gg%+' : 'Gg%-';
  }
  mRecord->view().setU32(OstrelField::kHostSig, sig);
}

void Scanner::SetImageMode(unsigned char showDriverUI, long source, long imageMode) {
  short mode = 0;
  if (showDriverUI || source != 1) mode = 3;
  else if (imageMode == 1) mode = 0;
  else if (imageMode == 2) mode = 1;
  else if (imageMode >= 3 && imageMode <= 6) mode = 3;
  mRecord->view().setI16(OstrelField::kImageMode, mode);
}

void Scanner::Set_Moire(unsigned char showDriverUI, long source, long imageMode) {
  if (showDriverUI || source != 1) return;
  RecordBytes r = mRecord->view();
  if (imageMode == 3 || imageMode == 5 || imageMode == 6 || imageMode == 4) {
    r.setU8(OstrelField::kMoireOn, 1);
    r.setU16(OstrelField::kMoireValue, imageMode == 4 ? 1 : 0);
  }
}

void Scanner::Setup_Parameter(long callerCode, unsigned char showDriverUI, long source, long imageMode, long resolution,
                              Rect& area, long level) {
  // The host routines as tokens, made once for the life of the process.
  static const uint32_t abortToken = MemTokenFor(reinterpret_cast<void*>(&HostAbort));
  static const uint32_t progressToken = MemTokenFor(reinterpret_cast<void*>(&HostProgress));
  static const uint32_t eventToken = MemTokenFor(reinterpret_cast<void*>(&HostEvent));
  RecordBytes r = mRecord->view();
  r.fill(0, kOstrelScannerRecordSize, 0);
  r.setU32(OstrelField::kEventProc, eventToken);
  r.setU32(OstrelField::kAbortProc, abortToken);
  r.setU32(OstrelField::kProgressProc, progressToken);
  r.setU32(OstrelField::kMagic, kOstrelMagic);
  SetHostSig(callerCode, showDriverUI, source, imageMode);
  SetImageMode(showDriverUI, source, imageMode);
  Set_Moire(showDriverUI, source, imageMode);
  if (!showDriverUI) r.setPstr(OstrelField::kFileName, 256, kAcquireName);
  r.setI32(OstrelField::kHResolution, static_cast<int32_t>(resolution * 65536));
  r.setI32(OstrelField::kVResolution, static_cast<int32_t>(resolution * 65536));
  r.setI16(OstrelField::kRect, area.top);
  r.setI16(OstrelField::kRect + 2, area.left);
  r.setI16(OstrelField::kRect + 4, area.bottom);
  r.setI16(OstrelField::kRect + 6, area.right);
  // A level outside 1..10 takes the neutral one.
  bool inTable = level >= 1 && level <= 10;
  long threshold = inTable ? Scanner_ThresholdTBL[level - 1] : 128;
  long brightness = inTable ? Scanner_BrightnessTBL[level - 1] : 0;
  if (callerCode == 1) {
    if (imageMode == 1) {
      r.setU8(OstrelField::kThresholdOn, 1);
      r.setU16(OstrelField::kThreshold, static_cast<uint16_t>(threshold));
    } else if (imageMode >= 2 && imageMode <= 6) {
      r.setU8(OstrelField::kBrightnessOn, 1);
      r.setI16(OstrelField::kBrightness, static_cast<int16_t>(brightness));
    }
  } else if (imageMode == 1) {
    r.setU8(OstrelField::kThresholdOn, 1);
    r.setU16(OstrelField::kThreshold, 128);
  }
}

short Scanner::Call(short selector) {
  short result = 0;
  mMain(selector, mRecord->bytes, &mData, &result);
  return result;
}

long Scanner::Scan() {
  Thread();
  return 1;
}

void Scanner::Thread() {
  mDone = 0;
  mLastPageSaved = 0;
  if (!mMain) {
    mDone = 1;
    return;
  }
  long saved = 0;
  if (Call(kSelectorPrepare) == 0) {
    do {
      saved = 0;
      if (Call(kSelectorStart) == 0) saved = Dump_To_TempFile();
      Call(kSelectorFinish);
    } while (saved == 1 && mRecord->view().u8(OstrelField::kAcquireAgain) == 1);
  }
  Call(kSelectorFinalize);
  mLastPageSaved = saved == 1 ? 1 : 0;
  mDone = 1;
}

long Scanner::Dump_To_TempFile() {
  FSSpec file{};
  SInt16 ref = 0;
  if (RawScanFile_Create(mTempFolder, &file, &ref) != noErr) return 0;
  long result = 0;
  try {
    result = DumpData_Save(ref);
  } catch (...) {
    result = 0;
  }
  if (result == 1) {
    mFiles.AddItem(file);
    mRecords.AddItem(*mRecord);
  }
  FSClose(ref);
  return result;
}

// Takes the bands the driver delivers until the page is complete. A band that brings no
// rows, or rows outside the page, ends the page as not saved: the loop cannot go on forever.
long Scanner::DumpData_Save(SInt16 fileRef) {
  RecordBytes r = mRecord->view();
  const int64_t rowBytes = r.i32(OstrelField::kRowBytes);
  const int64_t rows = r.i16(OstrelField::kImageRows);
  int64_t total = rowBytes * rows;
  if (total <= 0) return 1;
  const int64_t stride = RawScanFile_PaddedRowBytes(rowBytes);
  while (total > 0) {
    r.setI32(OstrelField::kMaxData, static_cast<int32_t>(std::min<Size>(MaxBlock() / 2, INT32_MAX)));
    if (Call(kSelectorContinue) != 0) return 0;
    const short mode = r.i16(OstrelField::kImageMode);
    const int64_t top = r.i16(OstrelField::kRect), left = r.i16(OstrelField::kRect + 2);
    const int64_t bottom = r.i16(OstrelField::kRect + 4), right = r.i16(OstrelField::kRect + 6);
    const int64_t w = right - left;
    const int64_t length = mode == 0 ? (w + 7) / 8 : mode == 1 ? w : mode == 3 ? 3 * w : w;
    auto* band = static_cast<unsigned char*>(MemTokenTarget(r.u32(OstrelField::kData)));
    if (!band || length <= 0 || length > rowBytes || top < 0 || bottom <= top || bottom > rows) return 0;
    for (int64_t row = top; row < bottom; ++row) {
      if (SetFPos(fileRef, fsFromStart, static_cast<long>(row * stride)) != noErr) return 0;
      // The driver gives grey with 0 = black; the file keeps 0 = white.
      if (mode == 1) {
        for (int64_t i = 0; i < length; ++i) band[i] = static_cast<unsigned char>(~band[i]);
      }
      long count = static_cast<long>(length);
      if (FSWrite(fileRef, &count, band) != noErr || count != length) return 0;
      if (rowBytes & 1) {
        static const unsigned char kPad = 0;
        long one = 1;
        if (FSWrite(fileRef, &one, &kPad) != noErr) return 0;
      }
      band += length;
      total -= length;
    }
  }
  return 1;
}

void Scanner::DataInitialize() {
  mRecords.RemoveAllItems();
  mFiles.RemoveAllItems();
}
