#include "FrameworkFixture.h"

#include "display/Display.h"
#include "framework/FrameworkClasses.h"
#include "framework/FrameworkDriver.h"
#include "framework/URegistrar.h"
#include "toolbox/Files.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "windows/Events.h"

void FrameworkFixture::SetUp() {
  DpyUseHeadless();
  DpyClearInput();
  FlushEvents(everyEvent, 0);
  SetSystemScriptForLanguage('E');
  mResFile = OpenResFilePath(WX_FRAMEWORK_TEST_RSRC, fsRdPerm);
  ASSERT_NE(mResFile, -1) << "cannot open " << WX_FRAMEWORK_TEST_RSRC;
  RegisterFrameworkClasses();
  mApp = new LApplication;
}

void FrameworkFixture::TearDown() {
  wxframework::ClearDialogActions();
  delete mApp;
  URegistrar::UnregisterAll();
  if (mResFile != -1) CloseResFile(mResFile);
  DpyClearInput();
  FlushEvents(everyEvent, 0);
}

// fontconfig keeps its configuration for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
