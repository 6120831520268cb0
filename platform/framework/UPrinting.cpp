#include "framework/UPrinting.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "framework/LCheckBox.h"
#include "framework/LEditText.h"
#include "framework/LException.h"
#include "framework/LPopupButton.h"
#include "framework/LRadioButton.h"
#include "framework/LWindow.h"
#include "framework/StDialogHandler.h"
#include "framework/StPrintSession.h"

LPrintSpec UPrinting::sAppPrintSpec;

namespace {

constexpr PaneIDT kPrinterPopup = 'PRTR';
constexpr PaneIDT kPaperPopup = 'PAPR';
constexpr PaneIDT kPortrait = 'PORT';
constexpr PaneIDT kLandscape = 'LAND';
constexpr PaneIDT kCopies = 'COPY';
constexpr PaneIDT kCollate = 'COLL';
constexpr PaneIDT kAllPages = 'ALLP';
constexpr PaneIDT kFromPage = 'FROM';
constexpr PaneIDT kToPage = 'TO  ';
constexpr UInt32 kMaxCount = 9999;

void ThrowIfPMError(OSStatus status) {
  if (status != noErr) Throw_(ExceptionCode(status));
}

std::string Utf8(CFStringRef string) {
  const char* text = string ? CFStringGetCStringPtr(string, kCFStringEncodingUTF8) : nullptr;
  return text ? std::string(text) : std::string();
}

// Releases a CoreFoundation object on every way out.
struct CFHolder {
  CFTypeRef object = nullptr;
  ~CFHolder() {
    if (object) CFRelease(object);
  }
};

template <class T>
T* Pane(LWindow* dialog, PaneIDT id) {
  T* pane = dynamic_cast<T*>(dialog->FindPaneByID(id));
  ThrowIfNil_(pane);
  return pane;
}

// The popup's items become `names` (shown by their display names when `papers`); `chosen`
// (0-based, -1 none) is selected.
void FillPopup(LPopupButton* popup, CFArrayRef names, CFIndex chosen, bool papers) {
  popup->DeleteAllMenuItems();
  for (CFIndex i = 0; i < CFArrayGetCount(names); ++i) {
    auto name = static_cast<CFStringRef>(CFArrayGetValueAtIndex(names, i));
    CFHolder shown{papers ? PMPaperCreateDisplayName(name) : CFRetain(name)};
    Str255 text;
    if (!CFStringGetPascalString(static_cast<CFStringRef>(shown.object), text, sizeof text,
                                 CFStringGetSystemEncoding()))
      text[0] = 0;
    popup->AppendMenuItem(text);
  }
  popup->SetValue(chosen < 0 ? 0 : chosen + 1);
}

// The printer list and the chosen printer's papers, kept in step in the dialog.
class PrinterChoice {
 public:
  PrinterChoice(LPrintSpec& spec, LWindow* dialog, bool withPaper) : mSpec(spec), mDialog(dialog) {
    CFIndex current = -1;
    ThrowIfPMError(PMSessionCreatePrinterList(spec.GetPrintSession(), &mPrinters, &current, nullptr));
    FillPopup(Pane<LPopupButton>(dialog, kPrinterPopup), mPrinters, current, false);
    if (withPaper) FillPapers(PMPageFormatGetPaperName(spec.GetPageFormat()));
  }
  ~PrinterChoice() {
    if (mPrinters) CFRelease(mPrinters);
  }
  PrinterChoice(const PrinterChoice&) = delete;
  PrinterChoice& operator=(const PrinterChoice&) = delete;

  CFStringRef ChosenPrinter() const {
    const SInt32 item = Pane<LPopupButton>(mDialog, kPrinterPopup)->GetValue();
    return item < 1 ? nullptr : static_cast<CFStringRef>(CFArrayGetValueAtIndex(mPrinters, item - 1));
  }
  CFStringRef ChosenPaper() const {
    const SInt32 item = Pane<LPopupButton>(mDialog, kPaperPopup)->GetValue();
    return item < 1 || !mPapers.object ? nullptr
                                       : static_cast<CFStringRef>(CFArrayGetValueAtIndex(
                                             static_cast<CFArrayRef>(mPapers.object), item - 1));
  }
  // The papers of the printer now chosen, keeping `keep` selected where it has it.
  void FillPapers(CFStringRef keep) {
    PMPrintSession session = mSpec.GetPrintSession();
    PMPrinter printer = nullptr;
    if (CFStringRef name = ChosenPrinter()) PMSessionSetCurrentPrinter(session, name);
    PMSessionGetCurrentPrinter(session, &printer);
    CFArrayRef papers = nullptr;
    ThrowIfPMError(PMPrinterCreatePaperList(printer, &papers));
    const std::string kept = Utf8(keep);
    CFIndex chosen = 0;
    for (CFIndex i = 0; i < CFArrayGetCount(papers); ++i)
      if (Utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(papers, i))) == kept) chosen = i;
    if (mPapers.object) CFRelease(mPapers.object);
    mPapers.object = papers;
    FillPopup(Pane<LPopupButton>(mDialog, kPaperPopup), papers, chosen, true);
  }

 private:
  LPrintSpec& mSpec;
  LWindow* mDialog;
  CFArrayRef mPrinters = nullptr;
  CFHolder mPapers;
};

// A whole number from 1 to kMaxCount in the field, else `fallback`.
UInt32 FieldCount(LWindow* dialog, PaneIDT id, UInt32 fallback) {
  const std::string& text = Pane<LEditText>(dialog, id)->GetText();
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  return text.empty() || *end || value < 1 || value > long(kMaxCount) ? fallback : UInt32(value);
}

// Runs the dialog until OK or Cancel; `changed` hears every other message.
template <class OnMessage>
bool RunDialog(StDialogHandler& handler, OnMessage changed) {
  handler.GetDialog()->Show();
  for (;;) {
    const MessageT message = handler.DoDialog();
    if (message == msg_OK) return true;
    if (message == msg_Cancel) return false;
    if (message != msg_Nothing) changed(message);
  }
}

}  // namespace

bool UPrinting::AskPageSetup(LPrintSpec& spec, LCommander* super) {
  StPrintSession session(spec);
  PMPageFormat format = spec.GetPageFormat();
  StDialogHandler handler(kPageSetupLayout, super);
  LWindow* dialog = handler.GetDialog();
  ThrowIfNil_(dialog);
  PrinterChoice choice(spec, dialog, true);
  PMOrientation orientation = kPMPortrait;
  PMGetOrientation(format, &orientation);
  Pane<LRadioButton>(dialog, orientation == kPMLandscape ? kLandscape : kPortrait)->SetValue(1);

  const bool accepted = RunDialog(handler, [&](MessageT message) {
    if (message == kPrinterPopup) choice.FillPapers(choice.ChosenPaper());
  });
  if (!accepted) return false;

  CFStringRef printer = choice.ChosenPrinter();
  if (printer) {
    const bool other = Utf8(printer) != spec.GetPrinterName();
    spec.SetPrinterName(Utf8(printer));
    ThrowIfPMError(PMSessionSetCurrentPrinter(spec.GetPrintSession(), printer));
    if (other) ThrowIfPMError(PMSessionDefaultPageFormat(spec.GetPrintSession(), format));
  }
  if (CFStringRef paper = choice.ChosenPaper()) ThrowIfPMError(PMSessionSetPaper(spec.GetPrintSession(), format, paper));
  const bool landscape = Pane<LRadioButton>(dialog, kLandscape)->GetValue() != 0;
  ThrowIfPMError(PMSetOrientation(format, landscape ? kPMLandscape : kPMPortrait, false));
  return true;
}

bool UPrinting::AskPrintJob(LPrintSpec& spec, LCommander* super) {
  StPrintSession session(spec);
  PMPrintSettings settings = spec.GetPrintSettings();
  StDialogHandler handler(kPrintJobLayout, super);
  LWindow* dialog = handler.GetDialog();
  ThrowIfNil_(dialog);
  PrinterChoice choice(spec, dialog, false);
  UInt32 first = 1, last = kPMPrintAllPages, copies = 1;
  spec.GetPrintJobParams(first, last, copies);
  Boolean collate = true;
  PMGetCollate(settings, &collate);
  Pane<LEditText>(dialog, kCopies)->SetValue(SInt32(copies));
  Pane<LCheckBox>(dialog, kCollate)->SetValue(collate ? 1 : 0);

  if (!RunDialog(handler, [](MessageT) {})) return false;

  if (CFStringRef printer = choice.ChosenPrinter()) {
    spec.SetPrinterName(Utf8(printer));
    ThrowIfPMError(PMSessionSetCurrentPrinter(spec.GetPrintSession(), printer));
  }
  copies = FieldCount(dialog, kCopies, 1);
  if (Pane<LRadioButton>(dialog, kAllPages)->GetValue()) {
    first = 1;
    last = kPMPrintAllPages;
  } else {
    first = FieldCount(dialog, kFromPage, 1);
    last = std::max(first, FieldCount(dialog, kToPage, first));
  }
  spec.SetPrintJobParams(first, last, copies);
  ThrowIfPMError(PMSetCollate(settings, Pane<LCheckBox>(dialog, kCollate)->GetValue() != 0));
  return true;
}
