// The framework's exception: an OSErr or a four-character code ('nilP' for a missing object,
// 'asrt' for a broken assumption), with an optional message.
#pragma once

#include <exception>
#include <string>

#include "framework/FrameworkTypes.h"

enum : ExceptionCode {
  err_NilPointer = 'nilP',
  err_AssertFailed = 'asrt',
};

class LException : public std::exception {
 public:
  explicit LException(ExceptionCode code, const char* message = nullptr);

  ExceptionCode GetErrorCode() const { return mErrorCode; }
  const char* what() const noexcept override { return mWhat.c_str(); }

 private:
  ExceptionCode mErrorCode;
  std::string mWhat;
};

[[noreturn]] void Throw_(ExceptionCode code);
void ThrowIfOSErr_(OSErr err);
inline void ThrowOSErr_(OSErr err) { ThrowIfOSErr_(err); }
inline void ThrowIf_(bool condition) {
  if (condition) Throw_(err_AssertFailed);
}

template <typename T>
inline void ThrowIfNil_(const T& pointer) {
  if (pointer == nullptr) Throw_(err_NilPointer);
}
