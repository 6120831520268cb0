#include "output/glue/SkewCorrection.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "framework/Dialogs.h"
#include "framework/LStr255.h"
#include "output/formats/InitMakeTIFF.h"
#include "output/hub/WXFolders.h"
#include "output/glue/GlueLanguages.h"
#include "output/glue/PATIMGConvert.h"
#include "paginor/Paginor.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/TextConvert.h"

namespace {

constexpr SInt16 kStopAlert = 129;  // and its string list
constexpr SInt16 kNoteAlert = 130;  // and its string list
constexpr SInt16 kDoneItem = 2;

// Items of string list 129.
enum : SInt16 {
  kOpenItem = 1,
  kLengthItem = 2,
  kMemoryItem = 3,
  kReadItem = 4,
  kNotATIFFItem = 5,
  kFrameworkItem = 7,
  kCorrectItem = 12,
  kWriteItem = 13,
  kReplaceItem = 14,
};

struct Failure {
  explicit Failure(SInt16 failedItem, std::optional<OSErr> frameworkStatus = std::nullopt)
      : item(failedItem), status(frameworkStatus) {}
  SInt16 item;
  std::optional<OSErr> status;  // the framework's, shown beside the item
};

// Everything one correction holds; whatever is still held is released when it ends, so a
// failure at any step leaves no open job, file or block behind.
struct Correction {
  SInt16 input = 0;
  Handle fileCopy = nullptr;
  PATIMG source{};
  PATIMG corrected{};
  unsigned char* tiffCopy = nullptr;
  bool jobOpen = false;
  SInt16 output = 0;
  std::optional<FSSpec> partialOutput;  // deleted unless it took the input's place

  ~Correction() {
    if (input) FSClose(input);
    if (fileCopy) {
      OSErr ignored;
      TempDisposeHandle(fileCopy, &ignored);
    }
    QSRF_spfreeimage(&corrected);
    FreeTiffBuffer(tiffCopy);
    FreePATIMGBuffer(&source);
    if (jobOpen) QSRC_close();
    if (output) FSClose(output);
    if (partialOutput) CWXUtility::DeleteFileWithRetry(*partialOutput);
  }
};

void ShowFailure(const Failure& failure) {
  const LStr255 item(kStopAlert, failure.item);
  const LStr255 status = failure.status ? LStr255(static_cast<SInt32>(*failure.status)) : LStr255();
  ParamText(item, status, nullptr, nullptr);
  StopAlert(kStopAlert, nullptr);
}

// The layouts the framework takes: 1-bit bilevel, 8-bit grey, three 8-bit samples (whose
// BitsPerSample entry holds an offset, so the strip's length, checked by Recognition_TIFF,
// vouches for it), uncompressed (0: no Compression entry).
bool IsCorrectable(const tagIMAGEINFO& info) {
  if (info.Compression > 1) return false;
  switch (info.Kind) {
    case kTIFFKindBilevel: return true;
    case kTIFFKindGray: return info.BitsPerSample == 8;
    case kTIFFKindColor: return info.SamplesPerPixel == 3;
    default: return false;
  }
}

std::optional<Failure> ReadInput(const FSSpec& file, Correction& c, tagIMAGEINFO* info) {
  if (FSpOpenDF(&file, fsRdPerm, &c.input) != noErr) {
    c.input = 0;
    return Failure{kOpenItem};
  }
  long length = 0;
  if (GetEOF(c.input, &length) != noErr || length <= 0) return Failure{kLengthItem};
  OSErr err = noErr;
  c.fileCopy = TempNewHandle(length, &err);
  if (!c.fileCopy) return Failure{kMemoryItem};
  TempHLock(c.fileCopy, &err);
  long count = length;
  if (FSRead(c.input, &count, *c.fileCopy) != noErr || count != length) return Failure{kReadItem};
  FSClose(c.input);
  c.input = 0;
  auto* bytes = reinterpret_cast<unsigned char*>(*c.fileCopy);
  if (Recognition_TIFF(bytes, static_cast<unsigned long>(length), info) != 1 || !IsCorrectable(*info))
    return Failure{kNotATIFFItem};
  if (!FromTIFFToPATIMG(bytes, info, &c.source)) return Failure{kMemoryItem};
  TempDisposeHandle(c.fileCopy, &err);
  c.fileCopy = nullptr;
  return std::nullopt;
}

std::optional<Failure> Correct(bool skew, bool orientation, long codePage, Correction& c, tagIMAGEINFO* info) {
  OSErr err = QSRC_exmodeset(kPaginorModeNormal, 3, GlueCodePageClass(codePage));
  if (err != noErr) return Failure{kFrameworkItem, err};
  err = QSRC_exopen(nullptr, (skew ? kPaginorFlagSkew : 0) | (orientation ? kPaginorFlagOrientation : 0), 0);
  if (err != noErr) return Failure{kFrameworkItem, err};
  c.jobOpen = true;
  SInt32 turn = 0;
  double angle = 0.0;
  err = QSRD_spdetect(&c.source, orientation ? &turn : nullptr, skew ? &angle : nullptr);
  if (err < 0) return Failure{kCorrectItem, err};
  err = QSRF_spcorrect(&c.source, &c.corrected, turn, angle);
  if (err != noErr) return Failure{kCorrectItem, err};
  // The page is not needed again: its memory goes to the file's copy.
  FreePATIMGBuffer(&c.source);
  if (!FromPATIMGToTIFF(&c.corrected, &c.tiffCopy, info)) return Failure{kMemoryItem};
  return std::nullopt;
}

std::optional<Failure> WriteOutput(const FSSpec& outSpec, Correction& c, const tagIMAGEINFO& info) {
  OSErr err = FSpCreate(&outSpec, '8BIM', 'TIFF', smSystemScript);
  if (err == dupFNErr && CWXUtility::DeleteFileWithRetry(outSpec) == noErr)
    err = FSpCreate(&outSpec, '8BIM', 'TIFF', smSystemScript);
  if (err != noErr) return Failure{kOpenItem};
  c.partialOutput = outSpec;
  if (FSpOpenDF(&outSpec, fsWrPerm, &c.output) != noErr) {
    c.output = 0;
    return Failure{kOpenItem};
  }
  if (Init_Make_TIFF(c.output, &info) != noErr) return Failure{kWriteItem};
  const long rowLength = info.BitsPerSample == 1 && info.SamplesPerPixel == 1
                             ? (static_cast<long>(info.ImageWidth) + 7) / 8
                             : static_cast<long>(info.BitsPerSample) * info.SamplesPerPixel * info.ImageWidth / 8;
  for (uint32_t y = 0; y < info.ImageLength; ++y) {
    long count = rowLength;
    if (FSWrite(c.output, &count, c.tiffCopy + static_cast<size_t>(y) * rowLength) != noErr || count != rowLength)
      return Failure{kWriteItem};
  }
  err = FSClose(c.output);
  c.output = 0;
  if (err != noErr) return Failure{kWriteItem};
  return std::nullopt;
}

std::optional<Failure> Run(FSSpec& tiffFile, bool skew, bool orientation, long codePage) {
  Correction c;
  tagIMAGEINFO info{};
  if (auto failure = ReadInput(tiffFile, c, &info)) return failure;
  if (auto failure = Correct(skew, orientation, codePage, c, &info)) return failure;
  Str255 outName;
  Change_File_Name(outName, tiffFile.name);
  FSSpec outSpec{};
  const OSErr err = FSMakeFSSpec(tiffFile.vRefNum, tiffFile.parID, outName, &outSpec);
  if (err != noErr && err != fnfErr) return Failure{kOpenItem};
  if (auto failure = WriteOutput(outSpec, c, info)) return failure;
  QSRF_spfreeimage(&c.corrected);
  FreeTiffBuffer(c.tiffCopy);
  c.tiffCopy = nullptr;
  FreePATIMGBuffer(&c.source);
  c.jobOpen = false;
  const OSErr closed = QSRC_close();
  if (closed != noErr) return Failure{kFrameworkItem, closed};
  ParamText(LStr255(kNoteAlert, kDoneItem), nullptr, nullptr, nullptr);
  NoteAlert(kNoteAlert, nullptr);
  // One rename over the input: the page's name always holds a whole file.
  if (FSpReplaceFile(&outSpec, &tiffFile) != noErr) return Failure{kReplaceItem};
  c.partialOutput.reset();
  return std::nullopt;
}

}  // namespace

void Change_File_Name(unsigned char* out, unsigned char* name) {
  static constexpr char kSuffix[] = "_correct.tif";
  constexpr size_t kSuffixLength = sizeof kSuffix - 1;
  const unsigned char* dot = static_cast<const unsigned char*>(std::memchr(name + 1, '.', name[0]));
  const size_t stem = std::min<size_t>(dot ? static_cast<size_t>(dot - (name + 1)) : name[0], 255 - kSuffixLength);
  std::memmove(out + 1, name + 1, stem);
  std::memcpy(out + 1 + stem, kSuffix, kSuffixLength);
  out[0] = static_cast<unsigned char>(stem + kSuffixLength);
}

long Func_QSRC_Check(FSSpec& tiffFile, unsigned char option1, unsigned char option2, long codePage) {
  const std::optional<Failure> failure = Run(tiffFile, option1 != 0, option2 != 0, codePage);
  if (!failure) return 1;
  ShowFailure(*failure);
  return 0;
}
