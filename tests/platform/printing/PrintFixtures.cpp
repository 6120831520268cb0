#include "PrintFixtures.h"

#include <cups/cups.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;

namespace printtest {

PrivateCupsd::PrivateCupsd(const fs::path& dir) : mDir(dir) {
  const char* cupsd = "/usr/sbin/cupsd";
  if (access(cupsd, X_OK) != 0) {
    mWhy = "cupsd is not installed (scripts/setup installs cups)";
    return;
  }
  for (const char* sub : {"root", "spool", "spool/tmp", "cache", "state", "log"}) fs::create_directories(dir / sub);
  std::ofstream(dir / "root/cupsd.conf") << "Listen " << Socket() << "\n"
                                         << "LogLevel warn\nBrowsing No\nWebInterface No\nDefaultShared No\n"
                                            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                            "</Policy>\n";
  std::ofstream(dir / "root/cups-files.conf")
      << "FileDevice Yes\nServerRoot " << (dir / "root").string() << "\nRequestRoot " << (dir / "spool").string()
      << "\nTempDir " << (dir / "spool/tmp").string() << "\nCacheDir " << (dir / "cache").string() << "\nStateDir "
      << (dir / "state").string() << "\nErrorLog " << (dir / "log/error_log").string() << "\nAccessLog "
      << (dir / "log/access_log").string() << "\nPageLog " << (dir / "log/page_log").string()
      << "\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
      // cupsd refuses to run jobs as root; run as root it takes lp.
      << (getuid() == 0 ? "User lp\nGroup lp\n" : "");
  const std::string conf = (dir / "root/cupsd.conf").string(), files = (dir / "root/cups-files.conf").string();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(cupsd, cupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  mPid = pid;
  // The server answers once its socket is there; it gives up within seconds when it cannot start.
  for (int tries = 0; tries < 200; ++tries) {
    if (fs::exists(Socket())) return;
    if (waitpid(mPid, nullptr, WNOHANG) == mPid) break;
    usleep(50000);
  }
  mWhy = "cupsd did not start (see " + (dir / "log/error_log").string() + ")";
  kill(mPid, SIGTERM);
  waitpid(mPid, nullptr, 0);
  mPid = -1;
}

PrivateCupsd::~PrivateCupsd() {
  if (mPid <= 0) return;
  kill(mPid, SIGTERM);
  waitpid(mPid, nullptr, 0);
}

bool PrivateCupsd::AddFileQueue(const std::string& name, const fs::path& file) {
  // The queue writes as cupsd's user: it must reach the folder and the file.
  fs::permissions(file.parent_path(), fs::perms::others_exec, fs::perm_options::add);
  std::ofstream(file).flush();
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
  // A queue without any driver runs no filter and so writes nothing into a file device; this
  // one passes PDFs through unchanged (gziptoany copies what is not compressed).
  std::ofstream(mDir / "pass-through.ppd")
      << "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
         "*LanguageEncoding: ISOLatin1\n*PCFileName: \"PASS.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(File)\"\n"
         "*ModelName: \"File\"\n*ShortNickName: \"File\"\n*NickName: \"File\"\n*PSVersion: \"(3010.000) 0\"\n"
         "*LanguageLevel: \"3\"\n*ColorDevice: True\n*DefaultColorSpace: RGB\n*FileSystem: False\n"
         "*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
         "*cupsFilter2: \"application/pdf application/vnd.cups-pdf 0 gziptoany\"\n"
         "*OpenUI *PageSize/Media Size: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n*DefaultPageSize: A4\n"
         "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
         "*PageSize Letter/US Letter: \"<</PageSize[612 792]>>setpagedevice\"\n*CloseUI: *PageSize\n"
         "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"0 0 595 842\"\n"
         "*ImageableArea Letter/US Letter: \"0 0 612 792\"\n*DefaultPaperDimension: A4\n"
         "*PaperDimension A4/A4: \"595 842\"\n*PaperDimension Letter/US Letter: \"612 792\"\n"
         "*DefaultResolution: 300dpi\n";
  return wxtest::Run("CUPS_SERVER='" + Socket() + "' lpadmin -p '" + name + "' -E -v 'file://" + file.string() +
                     "' -P '" + (mDir / "pass-through.ppd").string() + "' 2>/dev/null") == 0;
}

bool PrivateCupsd::RemoveQueue(const std::string& name) {
  return wxtest::Run("CUPS_SERVER='" + Socket() + "' lpadmin -x '" + name + "'") == 0;
}

std::string PrivateCupsd::NewestJobAttribute(const std::string& attribute) {
  cupsSetServer(Socket().c_str());
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr);
  if (!http) return "";
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs2(http, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
  int newest = 0;
  for (int i = 0; i < count; ++i) newest = std::max(newest, jobs[i].id);
  cupsFreeJobs(count, jobs);
  std::string text;
  if (newest > 0) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(newest);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ipp_t* response = cupsDoRequest(http, request, "/");
    if (ipp_attribute_t* attr = ippFindAttribute(response, attribute.c_str(), IPP_TAG_ZERO)) {
      char buffer[256];
      ippAttributeString(attr, buffer, sizeof buffer);
      text = buffer;
    }
    ippDelete(response);
  }
  httpClose(http);
  cupsSetServer(nullptr);
  return text;
}

OSStatus PrintOnePage(PMPrintSession session, const std::function<void(PMPageFormat)>& setUp,
                      const std::function<void(GrafPtr)>& draw, UInt32 copies, bool collate) {
  PMPageFormat format = nullptr;
  PMPrintSettings settings = nullptr;
  PMCreatePageFormat(&format);
  PMCreatePrintSettings(&settings);
  OSStatus err = PMSessionDefaultPageFormat(session, format);
  if (err == noErr) {
    setUp(format);
    PMSessionDefaultPrintSettings(session, settings);
    PMSetCopies(settings, copies, false);
    PMSetCollate(settings, collate);
    err = PMSessionBeginDocument(session, settings, format);
  }
  if (err == noErr) {
    err = PMSessionBeginPage(session, format, nullptr);
    void* port = nullptr;
    if (err == noErr) err = PMSessionGetGraphicsContext(session, kPMGraphicsContextQuickDraw, &port);
    if (err == noErr) draw(static_cast<GrafPtr>(port));
    const OSStatus pageErr = PMSessionEndPage(session);
    if (err == noErr) err = pageErr;
    const OSStatus endErr = PMSessionEndDocument(session);
    if (err == noErr) err = endErr;
  }
  PMRelease(format);
  PMRelease(settings);
  return err;
}

}  // namespace printtest
