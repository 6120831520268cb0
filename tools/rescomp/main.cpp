// rescomp: compiles resource sources into a resource file.
//
//   rescomp [--language L] [-D NAME=VALUE]... -o OUTPUT SOURCE...
//
// Any error prints "file:line: error: ..." and removes OUTPUT, so a build never goes on
// with stale resources.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "toolbox/MacErrors.h"
#include "toolbox/ResourceFork.h"
#include "tools/common/ToolFiles.h"
#include "tools/rescomp/rcCompile.h"

namespace {

// A stale resource file goes; a folder of that name is none of the compiler's business.
void RemoveOutput(const std::string& output) { unlink(output.c_str()); }

std::string Reason(OSErr err) {
  switch (err) {
    case dskFulErr: return "the disk is full";
    case permErr: return "permission denied";
    case wPrErr: return "the volume is read-only";
    case fnfErr:
    case dirNFErr: return "the folder does not exist";
    case memFullErr: return "out of memory";
    default: return "input/output error";
  }
}

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
      std::string text, reason;
      if (!ToolReadFile(arg, &text, &reason)) {
        std::cerr << arg << ": error: cannot read the file: " << reason << "\n";
        return 1;
      }
      sources.push_back(RcSource{arg, std::move(text)});
    }
  }
  if (output.empty() || sources.empty()) return usage();

  ResFileImage image;
  std::string diagnostic;
  if (!rcCompile(sources, options, &image, &diagnostic)) {
    std::cerr << diagnostic << "\n";
    RemoveOutput(output);
    return 1;
  }
  std::vector<uint8_t> bytes;
  OSErr err = ResFileBuild(image, &bytes);
  if (err == noErr) err = ResWriteFileAtomically(output, bytes);
  if (err != noErr) {
    std::cerr << output << ": error: cannot write the resource file: " << Reason(err) << " (error " << err << ")\n";
    RemoveOutput(output);
    return 1;
  }
  return 0;
}
