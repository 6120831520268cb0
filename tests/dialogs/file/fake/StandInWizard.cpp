#include "StandInWizard.h"

#include <string>

#include "preview/CStitchDialog.h"
#include "toolbox/Files.h"

namespace wxstandin {

std::vector<StitchCall> gStitchCalls;
bool gWizardClosesAtOnce = false;

}  // namespace wxstandin

namespace {

// Only its address goes back: the dialogs never call the wizard, so none is built.
alignas(CStitchDialog) unsigned char gWizard[sizeof(CStitchDialog)];

std::filesystem::path PathOf(const FSSpec& spec) {
  std::string path;
  FSpGetPOSIXPath(&spec, &path);
  return path;
}

}  // namespace

CStitchDialog* CStitchDialog::ShowStitchDialog(long function, unsigned char, unsigned char*, SDimension16, long, long,
                                               long showDriverUI, long paperIndex, long, LCommander*, long,
                                               unsigned char, long, LDialogBox* caller, unsigned char, unsigned char,
                                               FSSpec spec1, FSSpec spec2, StPDFDialog*, StJPEGDialog*,
                                               StOtherDialog*, StOtherDialog*, unsigned char, long, unsigned long,
                                               PREF_FILE*) {
  wxstandin::gStitchCalls.push_back({function, paperIndex, showDriverUI, caller, PathOf(spec1), PathOf(spec2)});
  if (wxstandin::gWizardClosesAtOnce) {
    if (caller) caller->ListenToMessage(msg_StitchClosed, nullptr);
    return nullptr;
  }
  return reinterpret_cast<CStitchDialog*>(gWizard);
}
