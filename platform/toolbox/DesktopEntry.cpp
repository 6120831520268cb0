#include "toolbox/DesktopEntry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "toolbox/FilePaths.h"

namespace {

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return std::string();
  size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

// Exec splits into arguments at spaces; double quotes keep spaces, and inside them a
// backslash escapes '"', '`', '$' and '\'.
bool SplitExec(const std::string& exec, std::vector<std::string>* args) {
  args->clear();
  std::string current;
  bool inQuotes = false, any = false;
  for (size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (inQuotes) {
      if (c == '\\' && i + 1 < exec.size()) {
        current += exec[++i];
      } else if (c == '"') {
        inQuotes = false;
      } else {
        current += c;
      }
    } else if (c == '"') {
      inQuotes = true;
      any = true;
    } else if (c == ' ' || c == '\t') {
      if (any || !current.empty()) args->push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
    }
  }
  if (inQuotes) return false;
  if (any || !current.empty()) args->push_back(current);
  return !args->empty();
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

namespace {

// The Name keys of the user's language, best first ("Name[fr_CA]", "Name[fr]"), from the
// first locale variable set.
std::vector<std::string> LocalNameKeys() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (!value || !*value) continue;
    std::string locale = value;
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX") return {};
    const std::string language = locale.substr(0, locale.find('_'));
    if (language == locale) return {"Name[" + language + "]"};
    return {"Name[" + locale + "]", "Name[" + language + "]"};
  }
  return {};
}

}  // namespace

bool DesktopEntryRead(const std::string& path, DesktopEntry* entry) {
  std::ifstream in(path);
  if (!in) return false;
  *entry = DesktopEntry();
  const std::vector<std::string> localKeys = LocalNameKeys();
  size_t localRank = localKeys.size();  // the best local key seen so far
  std::string line;
  bool inGroup = false, found = false;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inGroup = line == "[Desktop Entry]";
      found = found || inGroup;
      continue;
    }
    if (!inGroup) continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    if (key == "Type") entry->type = value;
    else if (key == "Name" && localRank == localKeys.size()) entry->name = value;
    else if (const auto local = std::find(localKeys.begin(), localKeys.end(), key);
             local != localKeys.end() && size_t(local - localKeys.begin()) < localRank) {
      entry->name = value;
      localRank = size_t(local - localKeys.begin());
    }
    else if (key == "Exec") entry->exec = value;
    else if (key == "TryExec") entry->tryExec = value;
    else if (key == "Hidden") entry->hidden = value == "true";
    else if (key == "X-Wendrix-Creator" && value.size() == 4)
      entry->creator = (OSType(UInt8(value[0])) << 24) | (OSType(UInt8(value[1])) << 16) | (OSType(UInt8(value[2])) << 8) | UInt8(value[3]);
    else if (key == "MimeType") {
      size_t start = 0;
      while (start < value.size()) {
        size_t end = value.find(';', start);
        if (end == std::string::npos) end = value.size();
        if (end > start) entry->mimeTypes.push_back(value.substr(start, end - start));
        start = end + 1;
      }
    }
  }
  return found;
}

bool DesktopFindProgram(const std::string& program, std::string* path) {
  if (program.empty()) return false;
  if (program.find('/') != std::string::npos) {
    if (!IsExecutableFile(program)) return false;
    *path = program;
    return true;
  }
  const char* search = std::getenv("PATH");
  std::string dirs = search ? search : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = (end > start ? dirs.substr(start, end - start) : ".") + "/" + program;
    if (IsExecutableFile(candidate)) {
      *path = candidate;
      return true;
    }
    start = end + 1;
  }
  return false;
}

bool DesktopEntryCanRun(const DesktopEntry& entry) {
  if (entry.type != "Application" || entry.hidden) return false;
  std::string found;
  if (!entry.tryExec.empty() && !DesktopFindProgram(entry.tryExec, &found)) return false;
  std::vector<std::string> args;
  return SplitExec(entry.exec, &args) && DesktopFindProgram(args[0], &found);
}

bool DesktopEntryCommands(const DesktopEntry& entry, const std::vector<std::string>& paths,
                          std::vector<std::vector<std::string>>* commands) {
  commands->clear();
  std::vector<std::string> args;
  if (!SplitExec(entry.exec, &args)) return false;
  bool perFile = false;
  for (const std::string& a : args)
    if (a == "%f" || a == "%u") perFile = true;
  // One run per path for the single-file codes; one run for everything otherwise.
  const size_t runs = perFile && !paths.empty() ? paths.size() : 1;
  for (size_t run = 0; run < runs; ++run) {
    std::vector<std::string> command;
    for (const std::string& a : args) {
      if (a == "%F" || a == "%U") {
        for (const std::string& p : paths) command.push_back(a == "%F" ? p : FpFileURL(p));
        continue;
      }
      if (a == "%f" || a == "%u") {
        if (!paths.empty()) command.push_back(a == "%f" ? paths[run] : FpFileURL(paths[run]));
        continue;
      }
      std::string expanded;
      for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != '%' || i + 1 >= a.size()) {
          expanded += a[i];
          continue;
        }
        const char code = a[++i];
        if (code == '%') expanded += '%';
        else if (code == 'c') expanded += entry.name;
        // Other codes (%i, %k, deprecated ones) stand for nothing here.
      }
      if (!expanded.empty() || a.empty()) command.push_back(expanded);
    }
    commands->push_back(std::move(command));
  }
  return true;
}

bool DesktopIsProgramFile(const std::string& path) {
  if (!IsExecutableFile(path)) return false;
  std::ifstream in(path, std::ios::binary);
  char magic[4] = {};
  in.read(magic, sizeof magic);
  if (in.gcount() >= 2 && magic[0] == '#' && magic[1] == '!') return true;
  return in.gcount() == 4 && magic[0] == 0x7F && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
}

bool DesktopIsApplicationFile(const std::string& path) {
  DesktopEntry entry;
  if (path.size() > 8 && path.compare(path.size() - 8, 8, ".desktop") == 0)
    return DesktopEntryRead(path, &entry) && entry.type == "Application";
  return DesktopIsProgramFile(path);
}
