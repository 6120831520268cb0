// The program: picks the language, becomes the one running instance (or hands a later
// launch to it), builds the application object and runs its event loop.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "scanner/CTWAIN.h"
#include "app/wendrix/DialogClasses.h"
#include "appservices/InstanceChannel.h"
#include "appservices/LaunchServices.h"
#include "display/Display.h"
#include "framework/LGrowZone.h"
#include "framework/UQDGlobals.h"
#include "toolbox/Resources.h"

namespace {

constexpr Size kGrowZoneReserve = 20000;

// The factory defaults name the first data source present that the model table knows, so a
// first start finds the scanner without a visit to Settings.
bool DataSourceNames(std::vector<std::vector<unsigned char>>* names) {
  std::unique_ptr<TArray<TW_IDENTITY>> sources(CTWAIN::Get_DataSources());
  if (!sources) return false;
  for (ArrayIndexT i = 1; i <= sources->GetCount(); ++i) {
    TW_IDENTITY id{};
    sources->FetchItemAt(i, id);
    names->emplace_back(id.ProductName, id.ProductName + id.ProductName[0] + 1);
  }
  return true;
}

// For the start-up benchmark: quit as soon as the main window is drawn.
bool QuitAfterFirstDraw() { return std::getenv("WENDRIX_QUIT_AFTER_DRAW") != nullptr; }

}  // namespace

// Read by the leak checker of a sanitizer build only: the scanner backends SANE loads, and the
// font and desktop-bus libraries, keep blocks until the process ends; those are not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libsane\nleak:libfontconfig\nleak:libdbus-1.so\n"; }

int main(int, char**) {
  if (!DpyEnvironmentCanRun()) {
    std::fprintf(stderr, "%s\n", DpyNoScreenMessage("wendrix").c_str());
    return 2;
  }
  if (!DpyOpenNamedScreen()) {
    const char* screen = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr, "wendrix: cannot open the screen %s\n", screen);
    return 1;
  }
  LSInit(kLSInitializeDefaults);
  const std::string resources = FindApplicationResourceFile();
  if (OpenApplicationResFile(resources) == -1) {
    std::fprintf(stderr, "wendrix: cannot open its resource file %s\n", resources.c_str());
    return 1;
  }
  SelectLanguageFromResources();

  std::string message;
  const InstanceRole role = AEClaimSingleInstance(&message);
  if (role != InstanceRole::kFirst) {
    CloseResFile(ApplicationResFile());
    LSTerm();
    if (role == InstanceRole::kHandedOver) return 0;
    std::fprintf(stderr, "wendrix: %s\n", message.c_str());
    return 1;
  }

  CPreferences::sSources.dataSources = DataSourceNames;
  InitializeHeap(3);
  static LGrowZone growZone(kGrowZoneReserve);
  try {
    CAppearanceApp app(DialogClasses());
    if (QuitAfterFirstDraw()) {
      while (!CAppearanceApp::sMainWindow) app.ProcessNextEvent(0);
      CAppearanceApp::sMainWindow->UpdatePort();
    } else {
      app.Run();
    }
    LSTerm();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "wendrix: %s\n", e.what());
    return 1;
  }
  CloseResFile(ApplicationResFile());
  return 0;
}
