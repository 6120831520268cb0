// rescomp: compiles resource sources into a resource file.
//
//   rescomp [--language L] [-D NAME=VALUE]... -o OUTPUT SOURCE...
//
// Any error prints "file:line: error: ..." and removes OUTPUT, so a build never goes on
// with stale resources.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "toolbox/MacErrors.h"
#include "toolbox/ResourceFork.h"
#include "tools/rescomp/rcCompile.h"

namespace {

int usage() {
  std::cerr << "usage: rescomp [--language L] [-D NAME=VALUE]... -o OUTPUT SOURCE...\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  RcOptions options;
  std::string output;
  std::vector<RcSource> sources;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "-o" && hasValue) {
      output = argv[++i];
    } else if (arg == "--language" && hasValue) {
      const std::string l = argv[++i];
      if (l.size() != 1) return usage();
      options.language = l[0];
    } else if (arg == "-D" && hasValue) {
      const std::string d = argv[++i];
      const size_t eq = d.find('=');
      if (eq == std::string::npos || eq == 0) return usage();
      options.defines[d.substr(0, eq)] = d.substr(eq + 1);
    } else if (!arg.empty() && arg[0] == '-') {
      return usage();
    } else {
      std::ifstream in(arg, std::ios::binary);
      if (!in) {
        std::cerr << arg << ": error: cannot read the file\n";
        return 1;
      }
      std::ostringstream text;
      text << in.rdbuf();
      sources.push_back(RcSource{arg, text.str()});
    }
  }
  if (output.empty() || sources.empty()) return usage();

  ResFileImage image;
  std::string diagnostic;
  if (!rcCompile(sources, options, &image, &diagnostic)) {
    std::cerr << diagnostic << "\n";
    std::remove(output.c_str());
    return 1;
  }
  std::vector<uint8_t> bytes;
  OSErr err = ResFileBuild(image, &bytes);
  if (err == noErr) err = ResWriteFileAtomically(output, bytes);
  if (err != noErr) {
    std::cerr << output << ": error: cannot write the resource file (error " << err << ")\n";
    std::remove(output.c_str());
    return 1;
  }
  return 0;
}
