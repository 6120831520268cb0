#include "cfm/CodeFragments.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "cfm/PlugInEntry.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {

void* cfTokenTarget(uint32_t token) { return MemTokenTarget(token); }
uint32_t cfTokenFor(void* target) { return MemTokenFor(target); }
void cfTokenRelease(uint32_t token) { MemTokenRelease(token); }

const PlugInHostServices kHostServices = {sizeof(PlugInHostServices), cfTokenTarget, cfTokenFor, cfTokenRelease};

void cfSetMessage(Str255 out, const char* text) {
  if (!out) return;
  size_t n = text ? std::min<size_t>(std::strlen(text), 255) : 0;
  out[0] = static_cast<unsigned char>(n);
  if (n) std::memcpy(out + 1, text, n);
}

}  // namespace

OSErr GetDiskFragment(const FSSpec* spec, UInt32 offset, UInt32 length, ConstStr63Param, CFragLoadOptions,
                      CFragConnectionID* connID, Ptr* mainAddr, Str255 errMessage) {
  cfSetMessage(errMessage, nullptr);
  if (!spec || !connID) return paramErr;
  *connID = nullptr;
  if (mainAddr) *mainAddr = nullptr;
  if (offset != 0 || length != kCFragGoesToEOF) return cfragFragmentFormatErr;
  std::string path;
  OSErr err = FSpGetPOSIXPath(spec, &path);
  if (err != noErr) return err;
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    cfSetMessage(errMessage, dlerror());
    return cfragNoLibraryErr;
  }
  if (auto** services = static_cast<const PlugInHostServices**>(dlsym(library, PLUGIN_HOST_SERVICES_SYMBOL)))
    *services = &kHostServices;
  if (mainAddr) *mainAddr = reinterpret_cast<Ptr>(dlsym(library, PLUGIN_ENTRY_SYMBOL));
  *connID = reinterpret_cast<CFragConnectionID>(library);
  return noErr;
}

OSErr CloseConnection(CFragConnectionID* connID) {
  if (!connID || !*connID) return cfragConnectionIDErr;
  dlclose(reinterpret_cast<void*>(*connID));
  *connID = nullptr;
  return noErr;
}
