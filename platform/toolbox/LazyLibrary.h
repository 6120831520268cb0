// A system library opened at its first use rather than when the program starts, for what
// only some work needs (text recognition, page images, a real screen): a program that never
// uses it never pays for loading it and everything it pulls in.
#pragma once

#include <string>

class LazyLibrary {
 public:
  // `soname` as the dynamic loader finds it ("libfoo.so.5"); `purpose` says in a few words
  // what needs it ("Text recognition").
  LazyLibrary(const char* soname, const char* purpose) : mSoname(soname), mPurpose(purpose) {}
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;

  // Opens the library and has `fill(*this)` find the calls it needs, on the first call only
  // (the library stays loaded). False when the library or one of the calls is missing; the
  // reason, naming both, is written once on the standard error and kept in Error().
  template <class Fill>
  bool Load(Fill fill) {
    if (!mTried) {
      mTried = true;
      mLoaded = Open() && fill(*this);
      if (!mLoaded) Report();
    }
    return mLoaded;
  }
  // Stores the address of the call `name` in `out`; false (see Error()) when there is none.
  template <class F>
  bool Find(const char* name, F* out) {
    *out = reinterpret_cast<F>(Symbol(name));
    return *out != nullptr;
  }

  const std::string& Error() const { return mError; }

 private:
  bool Open();
  void* Symbol(const char* name);
  void Report() const;

  std::string mSoname;
  const char* mPurpose;
  void* mHandle = nullptr;
  bool mTried = false;
  bool mLoaded = false;
  std::string mError;
};

// For a table of calls: WX_LAZY_CALL(name) declares the member `name` with the type of the
// library's own `name`; WX_LAZY_FIND(name), chained after `true` in a Load fill, finds it
// (the fill names its library `library` and the table `calls`).
#define WX_LAZY_CALL(name) decltype(&::name) name = nullptr;
#define WX_LAZY_FIND(name) &&library.Find(#name, &calls.name)
