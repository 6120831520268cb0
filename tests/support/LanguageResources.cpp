#include "support/LanguageResources.h"

#include <fstream>

#include "support/TestEnv.h"

namespace fs = std::filesystem;

namespace wxtest {
namespace {

fs::path ResourceDir() { return SourceDir() / "resources"; }

std::string ShellQuoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::vector<fs::path> Sources(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".r") out.push_back(entry.path());
  return out;
}

}  // namespace

std::vector<std::string> LanguageDefines(char letter) {
  std::ifstream in(ResourceDir() / "text" / std::string(1, letter) / "defines");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  return lines;
}

std::string CompileLanguageResources(const std::string& rescomp, char letter, const fs::path& out) {
  const std::string l(1, letter);
  std::string command =
      ShellQuoted(rescomp) + " --language " + l + " -D LANGUAGE=" + l + " -D RESOURCES=" + ShellQuoted(ResourceDir().string());
  for (const std::string& d : LanguageDefines(letter)) command += " -D " + ShellQuoted(d);
  command += " -o " + ShellQuoted(out.string());
  for (const auto& dir : {ResourceDir(), ResourceDir() / "text" / l})
    for (const fs::path& source : Sources(dir)) command += " " + ShellQuoted(source.string());
  std::string text;
  return Run(command + " 2>&1", &text) == 0 ? "" : text.empty() ? "failed" : text;
}

}  // namespace wxtest
