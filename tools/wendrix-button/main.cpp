// wendrix-button: plays a scanner's part when one of its buttons is pushed. Writes the
// button event file, then hands the running application a reopen, or starts it.
//
//   wendrix-button [--device NAME] --button N [--app PROGRAM]
//
// --device defaults to the model the preferences file holds; --app to the wendrix beside
// this program. Exit status 0 when the application was reached or started, 2 for a bad
// argument, 1 for anything else.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "prefs/LanguageTables.h"
#include "prefs/PrefFile.h"
#include "prefs/PrefRecords.h"
#include "appservices/InstanceChannel.h"
#include "appservices/Processes.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/MacErrors.h"
#include "toolbox/TextConvert.h"
#include "tools/wendrix-button/ButtonEvent.h"

namespace {

constexpr OSType kButtonService = 'syui';

int Usage(const std::string& problem) {
  std::cerr << "wendrix-button: " << problem << "\n"
            << "usage: wendrix-button [--device NAME] --button N [--app PROGRAM]\n";
  return 2;
}

// The model of the most recently written preferences file, or "".
std::string ModelFromPreferences() {
  std::string folder;
  if (FindFolderPath(kUserDomain, kPreferencesFolderType, kDontCreateFolder, &folder) != noErr) return std::string();
  std::string model;
  time_t newest = 0;
  for (const OpenAppRow& row : gOpenApp) {
    FSSpec spec;
    std::vector<uint8_t> data;
    if (FSpMakeFromPOSIXPath(folder + "/" + std::string(reinterpret_cast<const char*>(row.prefsFileName + 1), row.prefsFileName[0]), &spec) != noErr ||
        PFRead(spec, &data) != noErr || data.size() != PREF_ALL::kSize)
      continue;
    std::string path;
    FSpGetPOSIXPath(&spec, &path);
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || st.st_mtime < newest) continue;
    Str255 name;
    PREF_SETTING::kModelName.get(RecordBytes(data.data() + PREF_ALL::kSetting.off, PREF_SETTING::kSize), name);
    std::string utf8;
    if (name[0] > 0 && PStringToUTF8(name, &utf8, &row == &gOpenApp[0] ? smJapanese : smRoman)) {
      model = utf8;
      newest = st.st_mtime;
    }
  }
  return model;
}

}  // namespace

int main(int argc, char** argv) {
  std::string device, app = FolderProgramPath("wendrix");
  int button = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc || (arg != "--device" && arg != "--button" && arg != "--app"))
      return Usage(arg == "--device" || arg == "--button" || arg == "--app" ? arg + " needs a value" : "unknown argument " + arg);
    const std::string value = argv[++i];
    if (arg == "--device") {
      device = value;
    } else if (arg == "--app") {
      app = value;
    } else {
      char* end = nullptr;
      const long n = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end || n < 1 || n > 255) return Usage("--button takes a number from 1 to 255, not " + value);
      button = static_cast<int>(n);
    }
  }
  if (button == 0) return Usage("--button is missing");
  if (device.empty()) device = ModelFromPreferences();
  if (device.empty()) return Usage("no --device given and no model in the preferences file");
  if (device.size() > 31) return Usage("--device names at most 31 bytes");
  if (!IsButtonDeviceName(device)) return Usage("--device must be UTF-8 text without control characters");

  const std::string folder = FolderEventDir();
  RemoveOldButtonEvents(folder, std::time(nullptr));
  std::string error;
  const std::string file = WriteButtonEvent(folder, device, button, &error);
  if (file.empty()) {
    std::cerr << "wendrix-button: " << error << "\n";
    return 1;
  }
  if (AESendReopenToRunningInstance(kButtonService) == noErr) return 0;
  if (ProcessSpawnDetached({app}, {"WX_LAUNCHER_SIGNATURE=syui"}) != noErr) {
    std::cerr << "wendrix-button: no running application answered and " << app << " cannot be started\n";
    return 1;
  }
  return 0;
}
