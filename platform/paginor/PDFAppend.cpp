// Append jobs (VESK_open, VESK_addPDF, VESK_close) over qpdf. qpdf reads the files where
// they are, as it needs them; the target is never written in place: the result goes to a new
// file beside it, renamed over it.
#include <fcntl.h>
#include <qpdf/InputSource.hh>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
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
#include "toolbox/FileReplacement.h"
#include "toolbox/MacErrors.h"

namespace {

// A file qpdf reads through the File Manager's forks (so the read hooks reach it), a block at
// a time. A failed read is kept for the caller and ends qpdf's work with an exception.
class ForkInputSource : public InputSource {
 public:
  ForkInputSource(int fd, std::string name) : mFd(fd), mName(std::move(name)), mBlock(64 * 1024) {}
  ~ForkInputSource() override { close(mFd); }
  ForkInputSource(const ForkInputSource&) = delete;
  ForkInputSource& operator=(const ForkInputSource&) = delete;

  OSErr Error() const { return mError; }

  qpdf_offset_t findAndSkipNextEOL() override {
    char ch = 0;
    while (read(&ch, 1) == 1)
      if (ch == '\r' || ch == '\n') {
        const qpdf_offset_t eol = mPosition - 1;
        while (read(&ch, 1) == 1)
          if (ch != '\r' && ch != '\n') {
            unreadCh(ch);
            break;
          }
        return eol;
      }
    return mPosition;
  }
  std::string const& getName() const override { return mName; }
  qpdf_offset_t tell() override { return mPosition; }
  void seek(qpdf_offset_t offset, int whence) override {
    qpdf_offset_t base = whence == SEEK_CUR ? mPosition : 0;
    if (whence == SEEK_END) {
      struct stat st;
      if (fstat(mFd, &st) != 0) Fail(ioErr);
      base = st.st_size;
    }
    if (base + offset < 0) throw std::runtime_error("seek before the start");
    mPosition = base + offset;
  }
  void rewind() override { mPosition = 0; }
  size_t read(char* buffer, size_t length) override {
    last_offset = mPosition;
    size_t done = 0;
    while (done < length) {
      if ((mPosition < mStart || mPosition >= mStart + qpdf_offset_t(mFilled)) && !Fill()) break;
      const size_t from = size_t(mPosition - mStart), count = std::min(length - done, mFilled - from);
      std::memcpy(buffer + done, mBlock.data() + from, count);
      done += count;
      mPosition += qpdf_offset_t(count);
    }
    return done;
  }
  void unreadCh(char) override {
    if (mPosition > 0) --mPosition;
  }

 private:
  // The block at the position; false at the end of the file.
  bool Fill() {
    size_t got = 0;
    const OSErr err = ForkReadAt(mFd, mBlock.data(), mBlock.size(), off_t(mPosition), &got);
    if (err != noErr) Fail(err);
    mStart = mPosition;
    mFilled = got;
    return got > 0;
  }
  [[noreturn]] void Fail(OSErr err) {
    mError = err;
    throw std::runtime_error("read failed");
  }

  int mFd;
  std::string mName;
  std::vector<char> mBlock;
  qpdf_offset_t mStart = 0;
  size_t mFilled = 0;
  qpdf_offset_t mPosition = 0;
  OSErr mError = noErr;
};

// A PDF loaded by qpdf, with the file it reads from.
struct LoadedPDF {
  std::shared_ptr<ForkInputSource> file;
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

// Readers take a PDF's header within its first kilobyte; a file without one is refused
// before qpdf looks through all of it for objects.
OSErr CheckHeader(int fd) {
  char head[1024];
  size_t got = 0;
  const OSErr err = ForkReadAt(fd, head, sizeof head, 0, &got);
  if (err != noErr) return err;
  static constexpr char kHeader[] = "%PDF-";
  const bool found = std::search(head, head + got, kHeader, kHeader + sizeof kHeader - 1) != head + got;
  return found ? OSErr(noErr) : OSErr(kPaginorCannotAppendErr);
}

// kPaginorCannotAppendErr for what qpdf cannot read even with its recovery, for encrypted
// files and for files that are not PDFs; fnfErr and ioErr from reading.
OSErr Load(const std::string& path, std::unique_ptr<LoadedPDF>* out) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? OSErr(fnfErr) : OSErr(ioErr);
  auto loaded = std::make_unique<LoadedPDF>();
  loaded->file = std::make_shared<ForkInputSource>(fd, path);
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return ioErr;
  const OSErr err = CheckHeader(fd);
  if (err != noErr) return err;
  try {
    loaded->pdf.setSuppressWarnings(true);
    loaded->pdf.processInputSource(loaded->file);
    if (loaded->pdf.isEncrypted()) return kPaginorCannotAppendErr;
    QPDFPageDocumentHelper(loaded->pdf).getAllPages();
  } catch (const std::exception&) {
    return loaded->file->Error() != noErr ? loaded->file->Error() : OSErr(kPaginorCannotAppendErr);
  }
  *out = std::move(loaded);
  return noErr;
}

// A name beside `target` that nothing uses yet, created empty with the target's permissions.
OSErr CreateBeside(const std::string& target, mode_t mode, OutputFile* file) {
  std::string temp;
  return FSCreateTempBeside(target, [&](const std::string& path) { return file->Create(path, mode); }, &temp);
}

OSErr WriteResult(AppendJob& job) {
  struct stat st;
  if (stat(job.path.c_str(), &st) != 0) return FpErrno(errno);
  OSErr err = FSCheckReplaceable(job.path);
  if (err != noErr) return err;
  OutputFile file;
  err = CreateBeside(job.path, st.st_mode & 07777, &file);
  if (err != noErr) return err;
  ForkPipeline pipeline(file);
  try {
    QPDFWriter writer(job.target->pdf);
    writer.setOutputPipeline(&pipeline);
    // Streams go across as they are: decoding or compressing them costs time and changes nothing
    // a reader sees.
    writer.setDecodeLevel(qpdf_dl_none);
    writer.setCompressStreams(false);
    writer.write();
  } catch (const std::exception&) {
    err = pipeline.Error() != noErr ? pipeline.Error() : OSErr(ioErr);
    // A file that could not be read is the cause, not the writing.
    if (job.target->file->Error() != noErr) err = job.target->file->Error();
    for (const auto& source : job.sources)
      if (source->file->Error() != noErr) err = source->file->Error();
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

OSErr VESK_checkHeader(const char* path) {
  return NoThrow([&]() -> OSErr {
    if (!path) return paramErr;
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? OSErr(fnfErr) : OSErr(ioErr);
    const OSErr err = CheckHeader(fd);
    close(fd);
    return err;
  });
}

OSErr VESK_open(const char* targetPath, SInt32, UInt32* handle) {
  return NoThrow([&]() -> OSErr {
    if (!targetPath || !handle) return paramErr;
    *handle = 0;
    AppendJob job;
    // A link stays a link: the pages go to the file it names.
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(targetPath, nullptr), &std::free);
    if (!resolved) return errno == ENOENT || errno == ENOTDIR ? OSErr(fnfErr) : OSErr(ioErr);
    job.path = resolved.get();
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
