// Append jobs (VESK_open, VESK_addPDF, VESK_close) over qpdf. The target is read into memory
// and never written in place: the result goes to a new file beside it, renamed over it.
#include <fcntl.h>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "paginor/NoThrow.h"
#include "paginor/OutputFile.h"
#include "paginor/Paginor.h"
#include "toolbox/FileForks.h"
#include "toolbox/FilePaths.h"
#include "toolbox/MacErrors.h"

namespace {

// A PDF loaded by qpdf, with the bytes it reads from (qpdf does not copy them).
struct LoadedPDF {
  std::vector<char> bytes;
  QPDF pdf;
};

struct AppendJob {
  std::string path;
  std::unique_ptr<LoadedPDF> target;
  std::vector<std::unique_ptr<LoadedPDF>> sources;  // kept until the result is written
  bool failed = false;
};

std::map<UInt32, AppendJob> gAppendJobs;
UInt32 gLastHandle = 0;

// qpdf's output, through the File Manager's forks so the disk hooks reach it.
class ForkPipeline : public Pipeline {
 public:
  explicit ForkPipeline(OutputFile& file) : Pipeline("paginor output", nullptr), mFile(file) {}
  void write(unsigned char const* data, size_t length) override {
    if (mError != noErr) throw std::runtime_error("write failed");
    mError = mFile.Append(data, length);
    if (mError != noErr) throw std::runtime_error("write failed");
  }
  void finish() override {}
  OSErr Error() const { return mError; }

 private:
  OutputFile& mFile;
  OSErr mError = noErr;
};

OSErr ReadWhole(const std::string& path, std::vector<char>* bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? OSErr(fnfErr) : OSErr(ioErr);
  struct stat st;
  OSErr err = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? OSErr(noErr) : OSErr(ioErr);
  if (err == noErr) {
    bytes->resize(size_t(st.st_size));
    size_t got = 0;
    err = ForkReadAt(fd, bytes->data(), bytes->size(), 0, &got);
    if (err == noErr && got != bytes->size()) err = ioErr;
  }
  close(fd);
  return err;
}

// kPaginorCannotAppendErr for what qpdf cannot read even with its recovery, and for
// encrypted files; fnfErr and ioErr from reading.
OSErr Load(const std::string& path, std::unique_ptr<LoadedPDF>* out) {
  auto loaded = std::make_unique<LoadedPDF>();
  const OSErr err = ReadWhole(path, &loaded->bytes);
  if (err != noErr) return err;
  try {
    loaded->pdf.setSuppressWarnings(true);
    loaded->pdf.processMemoryFile(path.c_str(), loaded->bytes.data(), loaded->bytes.size());
    if (loaded->pdf.isEncrypted()) return kPaginorCannotAppendErr;
    QPDFPageDocumentHelper(loaded->pdf).getAllPages();
  } catch (const std::exception&) {
    return kPaginorCannotAppendErr;
  }
  *out = std::move(loaded);
  return noErr;
}

// A name beside `target` that nothing uses yet, created empty with the target's permissions.
OSErr CreateBeside(const std::string& target, mode_t mode, OutputFile* file) {
  const std::string folder = FpParent(target), name = FpLastElement(target);
  for (int serial = 0; serial < 1000; ++serial) {
    const OSErr err = file->Create(FpJoin(folder, "." + name + ".new" + std::to_string(serial)), mode);
    if (err != dupFNErr) return err;
  }
  return dupFNErr;
}

OSErr WriteResult(AppendJob& job) {
  struct stat st;
  if (stat(job.path.c_str(), &st) != 0) return FpErrno(errno);
  OutputFile file;
  OSErr err = CreateBeside(job.path, st.st_mode & 07777, &file);
  if (err != noErr) return err;
  ForkPipeline pipeline(file);
  try {
    QPDFWriter writer(job.target->pdf);
    writer.setOutputPipeline(&pipeline);
    writer.write();
  } catch (const std::exception&) {
    err = pipeline.Error() != noErr ? pipeline.Error() : OSErr(ioErr);
  }
  if (err == noErr) err = file.Close();
  const std::string written = file.Path();
  if (err == noErr) {
    uint8_t info[kFinderInfoSize];
    FpGetFinderInfo(job.path, info);
    err = FpSetFinderInfo(written, info);
  }
  if (err == noErr && rename(written.c_str(), job.path.c_str()) != 0) err = FpErrno(errno);
  if (err != noErr) unlink(written.c_str());
  return err;
}

}  // namespace

OSErr VESK_open(const char* targetPath, SInt32, UInt32* handle) {
  return NoThrow([&]() -> OSErr {
    if (!targetPath || !handle) return paramErr;
    *handle = 0;
    AppendJob job;
    job.path = targetPath;
    const OSErr err = Load(job.path, &job.target);
    if (err != noErr) return err;
    do ++gLastHandle;
    while (gLastHandle == 0 || gAppendJobs.count(gLastHandle));
    gAppendJobs.emplace(gLastHandle, std::move(job));
    *handle = gLastHandle;
    return noErr;
  });
}

OSErr VESK_addPDF(UInt32 handle, const char* sourcePath) {
  return NoThrow([&]() -> OSErr {
    auto it = gAppendJobs.find(handle);
    if (it == gAppendJobs.end()) return kPaginorBadHandleErr;
    AppendJob& job = it->second;
    std::unique_ptr<LoadedPDF> source;
    OSErr err = sourcePath ? Load(sourcePath, &source) : OSErr(paramErr);
    if (err == noErr) {
      try {
        QPDFPageDocumentHelper pages(job.target->pdf);
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(source->pdf).getAllPages()) pages.addPage(page, false);
        job.sources.push_back(std::move(source));
      } catch (const std::exception&) {
        err = kPaginorCannotAppendErr;
      }
    }
    if (err != noErr) job.failed = true;
    return err;
  });
}

OSErr VESK_close(UInt32* handle) {
  return NoThrow([&]() -> OSErr {
    if (!handle) return paramErr;
    auto it = gAppendJobs.find(*handle);
    *handle = 0;
    if (it == gAppendJobs.end()) return kPaginorBadHandleErr;
    AppendJob job = std::move(it->second);
    gAppendJobs.erase(it);
    if (job.failed || job.sources.empty()) return noErr;
    return WriteResult(job);
  });
}
