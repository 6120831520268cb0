#include "tests/support/HeadlessApp.h"

#include "display/Display.h"
#include "framework/FrameworkClasses.h"
#include "framework/FrameworkDriver.h"
#include "framework/URegistrar.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "windows/Events.h"

namespace wxtest {

void HeadlessApp::SetUp() {
  DpyUseHeadless();
  DpyClearInput();
  FlushEvents(everyEvent, 0);
  SetSystemScriptForLanguage('E');
  std::string path;
  mResFile = OpenResources(&path);
  ASSERT_NE(mResFile, -1) << "cannot open " << path;
  RegisterFrameworkClasses();
  RegisterClasses();
  mApp = new LApplication;
  // An alert the test left unanswered fails the test instead of waiting for ever.
  wxframework::SetUnansweredAlertProc(
      [](const std::string& alert) { ADD_FAILURE() << "Nothing answered " << alert << ": queue an answer for it"; });
}

void HeadlessApp::TearDown() {
  wxframework::ClearDialogActions();
  wxframework::SetUnansweredAlertProc(nullptr);
  delete mApp;
  URegistrar::UnregisterAll();
  if (mResFile != -1) CloseResFile(mResFile);
  DpyClearInput();
  FlushEvents(everyEvent, 0);
}

SInt16 HeadlessApp::OpenResources(std::string* path) {
  *path = FindApplicationResourceFile();
  return OpenApplicationResFile(*path);
}

}  // namespace wxtest
