#include "printing/pmJob.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "toolbox/FileForks.h"
#include "toolbox/FileReplacement.h"
#include "toolbox/FilePaths.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"

namespace {

constexpr size_t kSendChunk = 65536;

int gJobsBeforeFailure = 0;
OSStatus gJobFailure = noErr;

// The hand-over's error that a test asked for, noErr otherwise.
OSStatus ForcedFailure() {
  if (gJobFailure == noErr) return noErr;
  if (gJobsBeforeFailure > 0) {
    --gJobsBeforeFailure;
    return noErr;
  }
  return gJobFailure;
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// A name in `folder` that nothing has, for the document while it is written.
std::string ScratchPath(const std::string& folder) {
  static int counter = 0;
  std::string path;
  do {
    path = FSTempPath(folder, "job" + std::to_string(++counter));
  } while (Exists(path));
  return path;
}

OSStatus CupsError(ipp_status_t status) {
  switch (status) {
    case IPP_STATUS_ERROR_NOT_FOUND:
    case IPP_STATUS_ERROR_NOT_POSSIBLE:
      return kPMInvalidPrinter;
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_INTERNAL:
      return kPMServerCommunicationFailed;
    default:
      return kPMPrinterNotAvailable;
  }
}

}  // namespace

std::string pmFolderDocumentName(int number) { return "Print " + std::to_string(number) + ".pdf"; }

void pmFailJobsAfter(int delivered, OSStatus error) {
  gJobsBeforeFailure = delivered;
  gJobFailure = error;
}

pmJob::pmJob(const pmPrinterInfo& printer, const pmJobTicket& ticket, std::string scratch)
    : mPrinter(printer), mTicket(ticket), mScratch(std::move(scratch)), mWriter(std::make_unique<PDFWriter>(mScratch)) {}

pmJob::~pmJob() {
  mPage.reset();
  mWriter.reset();
  unlink(mScratch.c_str());
}

OSStatus pmJob::Start(const pmPrinterInfo& printer, const pmJobTicket& ticket, std::unique_ptr<pmJob>* job) {
  std::string folder = printer.folderPath;
  if (!printer.folder) {
    const OSErr err = FindFolderPath(kUserDomain, kTemporaryFolderType, kCreateFolder, &folder);
    if (err != noErr) return err;
  }
  struct stat st;
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return dirNFErr;
  job->reset(new pmJob(printer, ticket, ScratchPath(folder)));
  return noErr;
}

OSStatus pmJob::BeginPage(const pmGeometry& geometry) {
  if (mPage) return kPMOutOfScope;
  return pmPrintPort::Open(geometry, mWriter.get(), &mPage);
}

OSStatus pmJob::EndPage() {
  if (!mPage) return kPMOutOfScope;
  const OSErr err = mPage->Close();
  mPage.reset();
  return err;
}

OSStatus pmJob::Finish(bool cancel) {
  OSStatus err = mPage ? EndPage() : noErr;
  if (cancel || err != noErr) return err;
  if (mWriter->PageCount() == 0) return noErr;
  err = mWriter->Finish();
  if (err == noErr) err = ForcedFailure();
  if (err == noErr) err = mPrinter.folder ? DeliverToFolder() : DeliverToCups();
  return err;
}

OSStatus pmJob::DeliverToFolder() {
  for (int number = 1;; ++number) {
    const std::string target = mPrinter.folderPath + "/" + pmFolderDocumentName(number);
    if (renameat2(AT_FDCWD, mScratch.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
      mDelivered = target;
      return noErr;
    }
    if (errno != EEXIST) return FpErrno(errno);
  }
}

OSStatus pmJob::DeliverToCups() {
  pmHttp http = pmConnectCups();
  if (!http) return kPMServerCommunicationFailed;
  cups_dest_t* dest = cupsGetNamedDest(http.get(), mPrinter.name.c_str(), nullptr);
  if (!dest) return kPMInvalidPrinter;
  cups_dinfo_t* info = cupsCopyDestInfo(http.get(), dest);

  cups_option_t* options = nullptr;
  int count = 0;
  count = cupsAddIntegerOption("copies", int(mTicket.copies), count, &options);
  count = cupsAddOption("multiple-document-handling",
                        mTicket.collate ? "separate-documents-collated-copies" : "separate-documents-uncollated-copies",
                        count, &options);
  count = cupsAddOption("media", mTicket.geometry.paper.name.c_str(), count, &options);
  count = cupsAddIntegerOption("orientation-requested", mTicket.geometry.landscape ? 4 : 3, count, &options);

  int jobId = 0;
  OSStatus err = noErr;
  const ipp_status_t created =
      cupsCreateDestJob(http.get(), dest, info, &jobId, mTicket.title.c_str(), count, options);
  if (created > IPP_STATUS_OK_CONFLICTING || jobId == 0) err = CupsError(created);
  if (err == noErr && cupsStartDestDocument(http.get(), dest, info, jobId, mTicket.title.c_str(), CUPS_FORMAT_PDF, 0,
                                            nullptr, 1) != HTTP_STATUS_CONTINUE)
    err = kPMServerCommunicationFailed;
  if (err == noErr) {
    const int fd = open(mScratch.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) err = FpErrno(errno);
    std::vector<char> chunk(kSendChunk);
    for (off_t at = 0; err == noErr;) {
      size_t got = 0;
      err = ForkReadAt(fd, chunk.data(), chunk.size(), at, &got);
      if (err != noErr || got == 0) break;
      at += off_t(got);
      if (cupsWriteRequestData(http.get(), chunk.data(), got) != HTTP_STATUS_CONTINUE) err = kPMServerCommunicationFailed;
    }
    if (fd >= 0) close(fd);
    const ipp_status_t finished = cupsFinishDestDocument(http.get(), dest, info);
    if (err == noErr && finished > IPP_STATUS_OK_CONFLICTING) err = CupsError(finished);
  }
  if (err != noErr && jobId != 0) cupsCancelDestJob(http.get(), dest, jobId);
  cupsFreeOptions(count, options);
  cupsFreeDestInfo(info);
  cupsFreeDests(1, dest);
  return err;
}
