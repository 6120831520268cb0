#include "paginor/Paginor.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "paginor/Engines.h"
#include "paginor/NoThrow.h"
#include "paginor/PDFWriter.h"
#include "paginor/PageCorrection.h"
#include "paginor/PageEncoding.h"
#include "paginor/PageImage.h"
#include "paginor/TextRecognizer.h"
#include "toolbox/MacErrors.h"

namespace {

struct JobMode {
  SInt32 mode = kPaginorModeNormal;
  UInt32 languageValue = kPaginorLanguageOff;
  SInt32 codePageClass = 0;
};

struct Job {
  bool output = false;
  SInt32 flags = 0;
  JobMode mode;
  std::unique_ptr<PDFWriter> writer;
  std::unique_ptr<TextRecognizer> text;
};

PaginorJPEGEncoderProc gEncoder = nullptr;
JobMode gPendingMode;
std::string gFrameworksPath;
// Open jobs, the most recent last; at most one of them is an output job.
std::vector<Job> gJobs;

Job* OutputJob() {
  for (Job& job : gJobs)
    if (job.output) return &job;
  return nullptr;
}

bool FolderExists(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  struct stat st;
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A clockwise quarter turn of 0, 90, 180 or 270 degrees, and a skew a page can have.
bool CorrectionIsValid(SInt32 orientation, double skew) {
  return orientation >= 0 && orientation < 360 && orientation % 90 == 0 && std::isfinite(skew) &&
         std::fabs(skew) <= 45.0;
}

OSErr CorrectedCopy(const PATIMG& source, SInt32 orientation, double skew, PATIMG* result) {
  if (source.type != kPATIMGBilevel && orientation == 0) return SkewPage(source, skew, result);
  const bool quarter = orientation == 90 || orientation == 270;
  const SInt32 xResolution = quarter ? source.yResolution : source.xResolution;
  const SInt32 yResolution = quarter ? source.xResolution : source.yResolution;
  PixPtr pix = PageToPix(source);
  if (!pix) return memFullErr;
  PixPtr corrected = CorrectPix(pix.get(), orientation, skew);
  pix.reset();
  if (!corrected) return memFullErr;
  return PageFromPix(corrected.get(), source.type, xResolution, yResolution, result);
}

// The lines of the page in points, for the invisible text layer. A line's words share its
// baseline, and a size of the height of its box.
std::vector<PDFTextLine> PageLines(const std::vector<RecognizedLine>& lines, const PATIMG& page) {
  const double sx = 72.0 / page.xResolution, sy = 72.0 / page.yResolution;
  std::vector<PDFTextLine> placed;
  for (const RecognizedLine& line : lines) {
    PDFTextLine text{(page.height - line.baseline) * sy, std::max(1, line.bottom - line.top) * sy, {}};
    for (const RecognizedWord& word : line.words) text.words.push_back({word.utf8, word.left * sx, (word.right - word.left) * sx});
    placed.push_back(std::move(text));
  }
  return placed;
}

OSErr AddPage(Job& job, const PATIMG& page) {
  std::vector<PDFTextLine> lines;
  if (job.text) {
    PixPtr pix = PageToPix(page);
    if (!pix) return memFullErr;
    std::vector<RecognizedLine> recognized;
    const OSErr err = job.text->Recognize(pix.get(), &recognized);
    if (err != noErr) return err;
    lines = PageLines(recognized, page);
  }
  PDFImage image;
  const OSErr err = EncodePage(page, job.mode.mode, gEncoder, &image);
  if (err != noErr) return err;
  const double width = page.width * 72.0 / page.xResolution, height = page.height * 72.0 / page.yResolution;
  const PDFRect whole{0, 0, width, height};
  job.writer->BeginPage(width, height);
  job.writer->DrawImage(std::move(image), whole, whole);
  job.writer->DrawInvisibleText(lines);
  return job.writer->EndPage();
}

}  // namespace

void PaginorSetJPEGEncoder(PaginorJPEGEncoderProc encoder) { gEncoder = encoder; }

OSErr QSRC_exmodeset(SInt32 mode, UInt32 languageValue, SInt32 codePageClass) {
  gPendingMode = JobMode{mode, languageValue, codePageClass};
  return noErr;
}

OSErr QSRC_changepath(const char* path) {
  gFrameworksPath = path ? path : "";
  return noErr;
}

OSErr QSRC_exopen(const char* outputPath, SInt32 flags, SInt32) {
  return NoThrow([&]() -> OSErr {
    // A job never starts without the engines and data its options need.
    if (flags & (kPaginorFlagSkew | kPaginorFlagOrientation)) Leptonica();
    if ((flags & kPaginorFlagOrientation) && !OrientationDetector()) return kPaginorLanguageDataErr;
    Job job;
    job.flags = flags;
    job.mode = gPendingMode;
    if (outputPath) {
      if (OutputJob()) return kPaginorSequenceErr;
      if (!FolderExists(outputPath)) return kPaginorFolderErr;
      job.output = true;
      job.writer = std::make_unique<PDFWriter>(outputPath);
      if ((flags & kPaginorFlagText) && !(job.mode.languageValue & kPaginorLanguageOff)) {
        Leptonica();
        job.text = std::make_unique<TextRecognizer>();
        const OSErr err =
            job.text->Open(gFrameworksPath, TextLanguage(job.mode.languageValue, job.mode.codePageClass));
        if (err != noErr) return err;
        job.writer->SetTextFontProgram(job.text->FontProgram());
      }
    }
    gJobs.push_back(std::move(job));
    gPendingMode = JobMode{};
    return noErr;
  });
}

OSErr QSRC_spmake(const PATIMG* image, SInt32) {
  return NoThrow([&]() -> OSErr {
    Job* job = OutputJob();
    if (!job) return kPaginorSequenceErr;
    if (!PageIsValid(image)) return kPaginorBadImageErr;
    const bool skew = job->flags & kPaginorFlagSkew, orientation = job->flags & kPaginorFlagOrientation;
    if (!skew && !orientation) return AddPage(*job, *image);

    SInt32 turn = 0;
    double angle = 0.0;
    OSErr err = DetectPage(*image, orientation ? &turn : nullptr, skew ? &angle : nullptr);
    PATIMG corrected{};
    if (err == noErr) err = CorrectedCopy(*image, turn, angle, &corrected);
    if (err == noErr) err = AddPage(*job, corrected);
    QSRF_spfreeimage(&corrected);
    return err;
  });
}

OSErr QSRC_close(void) {
  return NoThrow([&]() -> OSErr {
    if (gJobs.empty()) return kPaginorSequenceErr;
    Job job = std::move(gJobs.back());
    gJobs.pop_back();
    return job.writer ? job.writer->Finish() : OSErr(noErr);
  });
}

OSErr QSRD_spdetect(const PATIMG* image, SInt32* orientation, double* skew) {
  return NoThrow([&]() -> OSErr {
    if (!PageIsValid(image)) return kPaginorBadImageErr;
    if (!orientation && !skew) return noErr;
    return DetectPage(*image, orientation, skew);
  });
}

OSErr QSRF_spcorrect(const PATIMG* source, PATIMG* result, SInt32 orientation, double skew) {
  return NoThrow([&]() -> OSErr {
    if (!PageIsValid(source) || !result) return kPaginorBadImageErr;
    if (!CorrectionIsValid(orientation, skew)) return paramErr;
    if (orientation == 0 && skew == 0.0) {
      const SInt32 length = PageRowLength(source->type, source->width);
      auto* data = static_cast<UInt8*>(std::malloc(size_t(length) * size_t(source->height)));
      if (!data) return memFullErr;
      for (SInt32 y = 0; y < source->height; ++y)
        std::memcpy(data + size_t(y) * length, source->data + size_t(y) * source->rowBytes, size_t(length));
      *result = *source;
      result->data = data;
      result->rowBytes = length;
      return noErr;
    }
    return CorrectedCopy(*source, orientation, skew, result);
  });
}

OSErr QSRF_spfreeimage(PATIMG* image) {
  if (!image) return paramErr;
  std::free(image->data);
  image->data = nullptr;
  return noErr;
}
