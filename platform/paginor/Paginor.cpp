#include "paginor/Paginor.h"

#include "toolbox/MacErrors.h"

namespace {
PaginorJPEGEncoderProc gEncoder = nullptr;
}

void PaginorSetJPEGEncoder(PaginorJPEGEncoderProc encoder) { gEncoder = encoder; }
OSErr QSRC_exmodeset(SInt32, UInt32, SInt32) { return noErr; }
OSErr QSRC_changepath(const char*) { return noErr; }
OSErr QSRC_exopen(const char*, SInt32, SInt32) { return kPaginorSequenceErr; }
OSErr QSRC_spmake(const PATIMG*, SInt32) { return kPaginorSequenceErr; }
OSErr QSRC_close(void) { return kPaginorSequenceErr; }
OSErr QSRD_spdetect(const PATIMG*, SInt32*, double*) { return kPaginorSequenceErr; }
OSErr QSRF_spcorrect(const PATIMG*, PATIMG*, SInt32, double) { return kPaginorSequenceErr; }
OSErr QSRF_spfreeimage(PATIMG*) { return noErr; }
OSErr VESK_open(const char*, SInt32, UInt32*) { return kPaginorCannotAppendErr; }
OSErr VESK_addPDF(UInt32, const char*) { return kPaginorBadHandleErr; }
OSErr VESK_close(UInt32*) { return kPaginorBadHandleErr; }
