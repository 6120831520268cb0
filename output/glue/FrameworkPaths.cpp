#include "output/glue/FrameworkPaths.h"

#include <filesystem>
#include <system_error>

#include "corefoundation/CFBundle.h"
#include "paginor/Paginor.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

OSErr FrameworkPathOf(const FSSpec& spec, std::string* path) {
  path->clear();
  SInt16 length = 0;
  Handle text = nullptr;
  const OSErr err = FSpGetFullPath(&spec, &length, &text);
  if (text) {
    path->assign(*text, static_cast<size_t>(length));
    DisposeHandle(text);
  }
  // A missing file is expected: the destination is written later.
  return err == fnfErr && text ? OSErr(noErr) : err;
}

std::string PrivateFrameworksPath() {
  CFURLRef url = CFBundleCopyPrivateFrameworksURL(CFBundleGetMainBundle());
  if (!url) return {};
  CFStringRef text = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
  CFRelease(url);
  if (!text) return {};
  const char* bytes = CFStringGetCStringPtr(text, kCFStringEncodingUTF8);
  std::string path = bytes ? bytes : "";
  CFRelease(text);
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_directory(path, ec)) return {};
  return path + "/";
}

OSErr OpenFrameworkJob(const FSSpec& destination, SInt32 flags) {
  std::string path;
  const OSErr err = FrameworkPathOf(destination, &path);
  if (err != noErr) return err;
  QSRC_changepath(PrivateFrameworksPath().c_str());
  return QSRC_exopen(path.c_str(), flags, 0);
}
