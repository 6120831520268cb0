// The encoder's public interface: baseline sequential Huffman JPEG from image strips, into a
// growing memory block (here) or a file (jpgWMac.h). Every call takes the opaque context and
// returns a 32-bit status (jpgStatus.h); none throws.
//
// Order: prolog -> optional marker segments and setters -> jpgWriteFromRect per strip -> epilog.
#pragma once

#include <cstdint>

#include "jpeg/jpgStatus.h"
#include "pelmora/Pelmora.h"

// Output into memory; options bit 1 (value 2) allows partial output.
int32_t jpgWritePrologToMemory(uint32_t options, void** context);
// Finishes the stream, hands out the block (free it with jpgWriteFreeBitstream) and frees the
// context. On failure nothing is handed out.
int32_t jpgWriteEpilogToMemory(void* context, void** data, int64_t* size);
int32_t jpgWriteFreeBitstream(void* data);
// The stream so far, closed with EOI; coding may go on afterwards.
int32_t jpgWriteGetPartialBitstream(void* context, void** data, int64_t* size);

// marker 0xFFC0..0xFFFE, 1..65533 bytes of data.
int32_t jpgWriteWriteMarkerSegment(void* context, uint32_t marker, const void* data, int32_t length);
int32_t jpgWriteWriteMarkerCode(void* context, uint32_t marker, int32_t length);
int32_t jpgWriteWriteMarkerData(void* context, const void* data, int32_t count, int32_t* written);

int32_t jpgWriteSetQuantizationFactor(void* context, int32_t quality);
int32_t jpgWriteSetSubsamplingFactor(void* context, uint32_t word);
int32_t jpgWriteSetNumberOfChannels(void* context, int32_t channels);
int32_t jpgWriteSetRestartInterval(void* context, uint32_t interval);
// The frame's size; the first strip's width replaces the width set here, and its height is
// taken only when none was set.
int32_t jpgWriteSetImageSize(void* context, int32_t width, int32_t height);
int32_t jpgWriteSetDefaultQuantizationTable(void* context, int32_t index, const uint16_t* table);
int32_t jpgWriteSetQuantizationTableSelector(void* context, int32_t component, int32_t table);
int32_t jpgWriteSetDCEntropyTableSelector(void* context, int32_t component, int32_t table);
int32_t jpgWriteSetACEntropyTableSelector(void* context, int32_t component, int32_t table);
int32_t jpgWriteSetNoColorConversion(void* context);
// Three-byte pixels come red, green, blue rather than blue, green, red.
int32_t jpgWriteSetRedFirst(void* context);
int32_t jpgWriteSetInternalColorSpace(void* context, int32_t kind);
int32_t jpgWriteSetSubsamplingMethod(void* context, int32_t method);
int32_t jpgWriteGetSubsamplingMethod(void* context, int32_t* method);
int32_t jpgWriteSetSpatialPredictor(void* context, int32_t predictor);

// Bytes of the 8 x 8 blocks that `lines` lines need; 0 before the first strip.
int64_t jpgGetJPEGBlockMemorySize(void* context, int32_t lines);

// Codes `lines` lines of the strip. Every strip but the last holds whole MCU rows.
int32_t jpgWriteFromRect(void* context, const _complibImageRect* rect, int32_t lines);

// ---- For the file entry points (jpgWMac) ----------------------------------------------------

struct jpgWContext;
// A context with its kernels chosen for this processor; null without memory.
jpgWContext* jpgWriteNewContext();
// Output set-up on the context's stream record, then SOI.
int32_t jpgWriteStartStream(jpgWContext* ctx);
// The trailer (DNL when needed, EOI, flush) unless the output failed; the stream's status.
int32_t jpgWriteFinishStream(jpgWContext* ctx);
