// Appending one PDF to another through the framework's append calls, as the append of
// scanned pages makes them, for bench/append_large.sh.
//
//   appendbench target.pdf pages.pdf   (prints the status of the first call that fails, or 0)
#include <cstdio>

#include "paginor/Paginor.h"
#include "toolbox/MacErrors.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: appendbench target.pdf pages.pdf\n");
    return 2;
  }
  UInt32 handle = 0;
  OSErr err = VESK_open(argv[1], 0, &handle);
  if (err == noErr) {
    err = VESK_addPDF(handle, argv[2]);
    const OSErr closed = VESK_close(&handle);
    if (err == noErr) err = closed;
  }
  std::printf("%d\n", err);
  return err == noErr ? 0 : 1;
}
