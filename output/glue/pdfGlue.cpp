#include "output/glue/pdfGlue.h"

#include "output/glue/FrameworkJPEGEncoder.h"
#include "output/glue/FrameworkPaths.h"
#include "output/glue/GlueLanguages.h"
#include "output/glue/LibraryLoad.h"
#include "paginor/Paginor.h"
#include "toolbox/RecordAccess.h"

namespace {

// Word n of the record: the 32-bit field at byte 4n.
uint32_t Word(const StPDFDialog* settings, size_t n) { return BEGetU32(settings->bytes.data() + 4 * n); }

SInt32 TypeOfKind(int32_t kind) {
  switch (kind) {
    case 1: return kPATIMGBilevel;
    case 2: return kPATIMGGrey;
    case 3: return kPATIMGColour;
    default: return 0;
  }
}

}  // namespace

long pdf_init() {
  PaginorSetJPEGEncoder(FrameworkJPEGEncoder);
  return load_library(kFrameworkPlugInName);
}

long pdf_terminate() { return IsLibraryLoad() ? unload_library() : 0; }

long pdf_modeset(const StPDFDialog* settings, unsigned char smallPage) {
  if (!IsLibraryLoad()) return 0;
  const SInt32 mode = smallPage == 1           ? kPaginorModeSmallPage
                      : Word(settings, 4) == 2 ? kPaginorModeHighCompression
                                               : kPaginorModeNormal;
  const GlueLanguage language = GlueLanguageForItem(static_cast<int32_t>(Word(settings, 3)));
  const uint32_t value = language.value | (Word(settings, 0) == 0 ? uint32_t(kPaginorLanguageOff) : 0u);
  return QSRC_exmodeset(mode, value, language.codePageClass) == 0 ? 1 : 0;
}

long pdf_open(FSSpec* destination, const StPDFDialog* settings) {
  if (!IsLibraryLoad()) return 0;
  SInt32 flags = 0;
  if (Word(settings, 0) != 0) flags |= kPaginorFlagText;
  if (Word(settings, 24) != 0) flags |= kPaginorFlagSkew;
  if (Word(settings, 25) == 1) flags |= kPaginorFlagOrientation;
  return OpenFrameworkJob(*destination, flags) == 0 ? 1 : 0;
}

long pdf_make(tagRAWBITMAP* page) {
  if (!IsLibraryLoad()) return 0;
  const PATIMG image{page->pixels,     page->rowBytes,   page->width, page->height, page->resolution,
                     page->resolution, TypeOfKind(page->kind), 0,           0};
  return QSRC_spmake(&image, 0) == 0 ? 1 : 0;
}

long pdf_close() {
  if (!IsLibraryLoad()) return 0;
  return QSRC_close() == 0 ? 1 : 0;
}
