#include "output/glue/LibraryLoad.h"

uint8_t gLibraryLoaded = 0;

uint32_t IsLibraryLoad() { return gLibraryLoaded; }

long load_library(unsigned char*) {
  gLibraryLoaded = 1;
  return 1;
}

long unload_library() {
  gLibraryLoaded = 0;
  return 1;
}
