#include "framework/LException.h"

namespace {

std::string Describe(ExceptionCode code, const char* message) {
  std::string text;
  bool printable = true;
  for (int shift = 24; shift >= 0; shift -= 8) {
    unsigned char c = static_cast<unsigned char>(static_cast<UInt32>(code) >> shift);
    if (c < 0x20 || c > 0x7E) printable = false;
  }
  // Built by append rather than operator+: GCC 12 misreads the concatenation as an overlapping copy.
  if (printable && (code < -32768 || code > 32767)) {
    char quoted[6] = {'\'', 0, 0, 0, 0, '\''};
    for (int i = 0; i < 4; ++i) quoted[1 + i] = static_cast<char>(static_cast<UInt32>(code) >> (24 - 8 * i));
    text.assign(quoted, sizeof quoted);
  } else {
    text.assign("error ").append(std::to_string(code));
  }
  if (message && *message) text.append(": ").append(message);
  return text;
}

}  // namespace

LException::LException(ExceptionCode code, const char* message)
    : mErrorCode(code), mWhat(Describe(code, message)) {}

void Throw_(ExceptionCode code) { throw LException(code); }

void ThrowIfOSErr_(OSErr err) {
  if (err != 0) Throw_(err);
}
