#include "output/glue/jpegGlue.h"

#include "output/glue/FrameworkPaths.h"
#include "output/glue/GlueLanguages.h"
#include "output/glue/LibraryLoad.h"
#include "paginor/Paginor.h"

long jpeg_init() {
  load_library(kFrameworkPlugInName);
  return 1;
}

long jpeg_terminate() { return IsLibraryLoad() ? unload_library() : 0; }

long jpeg_modeset(long languageItem, unsigned char flag) {
  if (!IsLibraryLoad()) return 0;
  const GlueLanguage language = GlueLanguageForItem(languageItem);
  return QSRC_exmodeset(flag == 1 ? kPaginorModeSmallPage : kPaginorModeNormal, language.value,
                        language.codePageClass) == 0
             ? 1
             : 0;
}

long jpeg_open(FSSpec* destination, long option2, long option0) {
  if (!IsLibraryLoad()) return 0;
  SInt32 flags = 0;
  if (option2 == 1) flags |= kPaginorFlagSkew;
  if (option0 == 1) flags |= kPaginorFlagOrientation;
  return OpenFrameworkJob(*destination, flags) == 0 ? 1 : 0;
}

long jpeg_close() {
  if (!IsLibraryLoad()) return 0;
  return QSRC_close() == 0 ? 1 : 0;
}

long jpeg_make(tagRAWBITMAP*) { return 1; }
