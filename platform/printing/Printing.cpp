#include "printing/Printing.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "printing/pmJob.h"
#include "printing/pmPrinters.h"
#include "toolbox/MacErrors.h"

struct pmObject {
  int refs = 1;
  virtual ~pmObject() = default;
};

namespace {
int gLivePrinters = 0;  // printer objects alive, for tests
}  // namespace

struct OpaquePMPrinter : pmObject {
  explicit OpaquePMPrinter(pmPrinterInfo printer)
      : info(std::move(printer)), id(CFStringCreateWithCString(nullptr, info.name.c_str(), kCFStringEncodingUTF8)) {
    ++gLivePrinters;
  }
  ~OpaquePMPrinter() override {
    CFRelease(id);
    --gLivePrinters;
  }
  pmPrinterInfo info;
  CFStringRef id;
};

struct OpaquePMPageFormat : pmObject {
  ~OpaquePMPageFormat() override {
    if (paperName) CFRelease(paperName);
  }
  void SetPaper(const pmPaper& paper) {
    geometry.paper = paper;
    if (paperName) CFRelease(paperName);
    paperName = CFStringCreateWithCString(nullptr, paper.name.c_str(), kCFStringEncodingUTF8);
  }
  pmGeometry geometry;
  CFStringRef paperName = nullptr;  // null while the format is empty
};

struct OpaquePMPrintSettings : pmObject {
  UInt32 copies = 1;
  bool collate = true;
  UInt32 first = 1;
  UInt32 last = kPMPrintAllPages;
};

struct OpaquePMPrintSession : pmObject {
  ~OpaquePMPrintSession() override {
    job.reset();
    for (PMPrinter printer : printers) PMRelease(printer);
    if (current) PMRelease(current);
  }
  std::vector<PMPrinter> printers;
  PMPrinter current = nullptr;
  bool cupsHasPrinters = false;
  OSStatus error = noErr;
  std::unique_ptr<pmJob> job;
};

namespace {

std::string Utf8(CFStringRef string) {
  const char* text = string ? CFStringGetCStringPtr(string, kCFStringEncodingUTF8) : nullptr;
  return text ? std::string(text) : std::string();
}

OSStatus Remember(PMPrintSession session, OSStatus err) {
  if (err != noErr && session->error == noErr) session->error = err;
  return err;
}

const pmPaper* FindPaper(const pmPrinterInfo& printer, const std::string& name) {
  const auto found =
      std::find_if(printer.papers.begin(), printer.papers.end(), [&](const pmPaper& p) { return p.name == name; });
  return found == printer.papers.end() ? nullptr : &*found;
}

void SetCurrent(PMPrintSession session, PMPrinter printer) {
  PMRetain(printer);
  if (session->current) PMRelease(session->current);
  session->current = printer;
}

}  // namespace

OSStatus PMRetain(PMObject object) {
  if (!object) return kPMInvalidParameter;
  ++const_cast<pmObject*>(static_cast<const pmObject*>(object))->refs;
  return noErr;
}

OSStatus PMRelease(PMObject object) {
  if (!object) return kPMInvalidParameter;
  auto* counted = const_cast<pmObject*>(static_cast<const pmObject*>(object));
  if (--counted->refs == 0) delete counted;
  return noErr;
}

int PMTestRetainCount(PMObject object) { return object ? static_cast<const pmObject*>(object)->refs : 0; }

int PMTestLivePrinters() { return gLivePrinters; }

// ---- sessions and printers ----------------------------------------------------------------

OSStatus PMCreateSession(PMPrintSession* session) {
  if (!session) return kPMInvalidParameter;
  auto* s = new OpaquePMPrintSession;
  pmPrinterList list = pmFindPrinters();
  s->cupsHasPrinters = list.cupsHasPrinters;
  for (pmPrinterInfo& info : list.printers) s->printers.push_back(new OpaquePMPrinter(std::move(info)));
  if (!s->printers.empty()) SetCurrent(s, s->printers[list.defaultIndex]);
  *session = s;
  return noErr;
}

OSStatus PMSessionError(PMPrintSession session) { return session ? session->error : kPMInvalidParameter; }

OSStatus PMSessionSetError(PMPrintSession session, OSStatus error) {
  if (!session) return kPMInvalidParameter;
  session->error = error;
  return noErr;
}

OSStatus PMSessionCreatePrinterList(PMPrintSession session, CFArrayRef* printerList, CFIndex* currentIndex,
                                    PMPrinter* currentPrinter) {
  if (!session || !printerList) return kPMInvalidParameter;
  std::vector<const void*> names;
  CFIndex index = -1;
  for (PMPrinter printer : session->printers) {
    if (printer == session->current) index = CFIndex(names.size());
    names.push_back(printer->id);
  }
  *printerList = CFArrayCreate(nullptr, names.data(), CFIndex(names.size()), &kCFTypeArrayCallBacks);
  if (currentIndex) *currentIndex = index;
  if (currentPrinter) *currentPrinter = session->current;
  return noErr;
}

OSStatus PMSessionGetCurrentPrinter(PMPrintSession session, PMPrinter* printer) {
  if (!session || !printer) return kPMInvalidParameter;
  *printer = session->current;
  return session->current ? OSStatus(noErr) : OSStatus(kPMNoDefaultPrinter);
}

OSStatus PMSessionSetCurrentPMPrinter(PMPrintSession session, PMPrinter printer) {
  if (!session || !printer) return kPMInvalidParameter;
  // A printer of another session counts by its name, as long as this session lists it.
  return PMSessionSetCurrentPrinter(session, printer->id);
}

OSStatus PMSessionSetCurrentPrinter(PMPrintSession session, CFStringRef printerName) {
  if (!session || !printerName) return kPMInvalidParameter;
  const std::string name = Utf8(printerName);
  for (PMPrinter printer : session->printers) {
    if (printer->info.name != name) continue;
    SetCurrent(session, printer);
    return noErr;
  }
  return kPMInvalidPrinter;
}

CFStringRef PMPrinterGetID(PMPrinter printer) { return printer ? printer->id : nullptr; }

Boolean PMPrinterIsFolderPrinter(PMPrinter printer) { return printer && printer->info.folder; }

OSStatus PMSessionGetDestinationType(PMPrintSession session, PMPrintSettings, PMDestinationType* destType) {
  if (!session || !destType) return kPMInvalidParameter;
  if (!session->current) return kPMNoDefaultPrinter;
  *destType = session->current->info.folder && session->cupsHasPrinters ? kPMDestinationFile : kPMDestinationPrinter;
  return noErr;
}

OSStatus PMPrinterGetPrinterResolution(PMPrinter printer, PMTag, PMResolution* res) {
  if (!printer || !res) return kPMInvalidParameter;
  *res = PMResolution{printer->info.dpi, printer->info.dpi};
  return noErr;
}

OSStatus PMPrinterGetPrinterResolutionCount(PMPrinter printer, UInt32* count) {
  if (!printer || !count) return kPMInvalidParameter;
  *count = 1;
  return noErr;
}

OSStatus PMPrinterGetIndexedPrinterResolution(PMPrinter printer, UInt32 index, PMResolution* res) {
  if (index != 1) return kPMInvalidParameter;
  return PMPrinterGetPrinterResolution(printer, kPMDefaultValue, res);
}

OSStatus PMPrinterCreatePaperList(PMPrinter printer, CFArrayRef* paperList) {
  if (!printer || !paperList) return kPMInvalidParameter;
  std::vector<CFStringRef> names;
  for (const pmPaper& paper : printer->info.papers)
    names.push_back(CFStringCreateWithCString(nullptr, paper.name.c_str(), kCFStringEncodingUTF8));
  std::vector<const void*> values(names.begin(), names.end());
  *paperList = CFArrayCreate(nullptr, values.data(), CFIndex(values.size()), &kCFTypeArrayCallBacks);
  for (CFStringRef name : names) CFRelease(name);
  return noErr;
}

CFStringRef PMPaperCreateDisplayName(CFStringRef paperName) {
  return CFStringCreateWithCString(nullptr, pmPaperDisplayName(Utf8(paperName)).c_str(), kCFStringEncodingUTF8);
}

// ---- page formats -------------------------------------------------------------------------

OSStatus PMCreatePageFormat(PMPageFormat* format) {
  if (!format) return kPMInvalidParameter;
  *format = new OpaquePMPageFormat;
  return noErr;
}

OSStatus PMSessionDefaultPageFormat(PMPrintSession session, PMPageFormat format) {
  if (!session || !format) return kPMInvalidParameter;
  if (!session->current) return kPMNoDefaultPrinter;
  format->SetPaper(session->current->info.papers.front());
  format->geometry.landscape = false;
  format->geometry.dpi = session->current->info.dpi;
  return noErr;
}

OSStatus PMSessionValidatePageFormat(PMPrintSession session, PMPageFormat format, Boolean* changed) {
  if (!session || !format) return kPMInvalidParameter;
  if (changed) *changed = false;
  if (!session->current) return kPMNoDefaultPrinter;
  if (!format->paperName) {
    if (changed) *changed = true;
    return PMSessionDefaultPageFormat(session, format);
  }
  if (FindPaper(session->current->info, format->geometry.paper.name)) return noErr;
  format->SetPaper(session->current->info.papers.front());
  if (changed) *changed = true;
  return noErr;
}

OSStatus PMGetAdjustedPaperRect(PMPageFormat format, PMRect* paperRect) {
  if (!format || !paperRect) return kPMInvalidParameter;
  *paperRect = pmPaperRect(format->geometry);
  return noErr;
}

OSStatus PMGetAdjustedPageRect(PMPageFormat format, PMRect* pageRect) {
  if (!format || !pageRect) return kPMInvalidParameter;
  *pageRect = pmPageRect(format->geometry);
  return noErr;
}

OSStatus PMGetResolution(PMPageFormat format, PMResolution* res) {
  if (!format || !res) return kPMInvalidParameter;
  *res = PMResolution{format->geometry.dpi, format->geometry.dpi};
  return noErr;
}

OSStatus PMSetResolution(PMPageFormat format, const PMResolution* res) {
  if (!format || !res || res->hRes < 1) return kPMInvalidParameter;
  format->geometry.dpi = std::min(res->hRes, 600.0);
  return noErr;
}

OSStatus PMGetOrientation(PMPageFormat format, PMOrientation* orientation) {
  if (!format || !orientation) return kPMInvalidParameter;
  *orientation = format->geometry.landscape ? kPMLandscape : kPMPortrait;
  return noErr;
}

OSStatus PMSetOrientation(PMPageFormat format, PMOrientation orientation, Boolean) {
  if (!format || (orientation != kPMPortrait && orientation != kPMLandscape)) return kPMInvalidParameter;
  format->geometry.landscape = orientation == kPMLandscape;
  return noErr;
}

CFStringRef PMPageFormatGetPaperName(PMPageFormat format) { return format ? format->paperName : nullptr; }

OSStatus PMSessionSetPaper(PMPrintSession session, PMPageFormat format, CFStringRef paperName) {
  if (!session || !format || !paperName) return kPMInvalidParameter;
  if (!session->current) return kPMNoDefaultPrinter;
  const pmPaper* paper = FindPaper(session->current->info, Utf8(paperName));
  if (!paper) return kPMInvalidParameter;
  format->SetPaper(*paper);
  return noErr;
}

// ---- print settings -----------------------------------------------------------------------

OSStatus PMCreatePrintSettings(PMPrintSettings* settings) {
  if (!settings) return kPMInvalidParameter;
  *settings = new OpaquePMPrintSettings;
  return noErr;
}

OSStatus PMSessionDefaultPrintSettings(PMPrintSession session, PMPrintSettings settings) {
  if (!session || !settings) return kPMInvalidParameter;
  *settings = OpaquePMPrintSettings{};
  return noErr;
}

OSStatus PMSessionValidatePrintSettings(PMPrintSession session, PMPrintSettings settings, Boolean* changed) {
  if (!session || !settings) return kPMInvalidParameter;
  if (changed) *changed = false;
  return noErr;
}

OSStatus PMSetCopies(PMPrintSettings settings, UInt32 copies, Boolean) {
  if (!settings || copies < 1) return kPMInvalidParameter;
  settings->copies = copies;
  return noErr;
}

OSStatus PMGetCopies(PMPrintSettings settings, UInt32* copies) {
  if (!settings || !copies) return kPMInvalidParameter;
  *copies = settings->copies;
  return noErr;
}

OSStatus PMSetCollate(PMPrintSettings settings, Boolean collate) {
  if (!settings) return kPMInvalidParameter;
  settings->collate = collate;
  return noErr;
}

OSStatus PMGetCollate(PMPrintSettings settings, Boolean* collate) {
  if (!settings || !collate) return kPMInvalidParameter;
  *collate = settings->collate;
  return noErr;
}

OSStatus PMSetFirstPage(PMPrintSettings settings, UInt32 first, Boolean) {
  if (!settings || first < 1) return kPMInvalidParameter;
  settings->first = first;
  return noErr;
}

OSStatus PMGetFirstPage(PMPrintSettings settings, UInt32* first) {
  if (!settings || !first) return kPMInvalidParameter;
  *first = settings->first;
  return noErr;
}

OSStatus PMSetLastPage(PMPrintSettings settings, UInt32 last, Boolean) {
  if (!settings || last < 1) return kPMInvalidParameter;
  settings->last = last;
  return noErr;
}

OSStatus PMGetLastPage(PMPrintSettings settings, UInt32* last) {
  if (!settings || !last) return kPMInvalidParameter;
  *last = settings->last;
  return noErr;
}

// ---- a job --------------------------------------------------------------------------------

OSStatus PMSessionBeginDocument(PMPrintSession session, PMPrintSettings settings, PMPageFormat format) {
  if (!session || !settings || !format) return kPMInvalidParameter;
  if (session->job) return Remember(session, kPMOutOfScope);
  if (!session->current) return Remember(session, kPMNoDefaultPrinter);
  if (!format->paperName) return Remember(session, kPMInvalidParameter);
  session->error = noErr;
  const pmJobTicket ticket{"Wendrix", settings->copies, settings->collate, format->geometry};
  return Remember(session, pmJob::Start(session->current->info, ticket, &session->job));
}

OSStatus PMSessionBeginPage(PMPrintSession session, PMPageFormat format, const PMRect*) {
  if (!session || !format) return kPMInvalidParameter;
  if (!session->job) return Remember(session, kPMOutOfScope);
  if (session->error != noErr) return session->error;
  return Remember(session, session->job->BeginPage(format->geometry));
}

OSStatus PMSessionGetGraphicsContext(PMPrintSession session, CFStringRef, void** context) {
  if (!session || !context) return kPMInvalidParameter;
  *context = session->job ? session->job->Port() : nullptr;
  return *context ? OSStatus(noErr) : OSStatus(kPMOutOfScope);
}

OSStatus PMSessionEndPage(PMPrintSession session) {
  if (!session) return kPMInvalidParameter;
  if (!session->job) return Remember(session, kPMOutOfScope);
  return Remember(session, session->job->EndPage());
}

OSStatus PMSessionEndDocument(PMPrintSession session) {
  if (!session) return kPMInvalidParameter;
  if (!session->job) return Remember(session, kPMOutOfScope);
  const OSStatus prior = session->error;
  const OSStatus err = session->job->Finish(prior != noErr);
  session->job.reset();
  return prior != noErr ? prior : Remember(session, err);
}
