#include "toolbox/LazyLibrary.h"

#include <dlfcn.h>

#include <cstdio>

bool LazyLibrary::Open() {
  mHandle = dlopen(mSoname.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mHandle) {
    const char* why = dlerror();
    mError = mSoname + " is not installed or cannot be loaded (" + (why ? why : "no reason given") + ")";
  }
  return mHandle != nullptr;
}

void* LazyLibrary::Symbol(const char* name) {
  void* address = mHandle ? dlsym(mHandle, name) : nullptr;
  if (!address) mError = mSoname + " has no " + name + "; another version of it is installed";
  return address;
}

void LazyLibrary::Report() const { std::fprintf(stderr, "%s is unavailable: %s\n", mPurpose, mError.c_str()); }
