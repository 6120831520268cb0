// The encoder context and what every stage shares: its check, its life cycle, the standard
// tables and the Huffman code generator.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jpeg/complib.h"
#include "jpeg/jpgStatus.h"
#include "pelmora/Pelmora.h"

constexpr uint32_t kJpgContextSize = 7644;

// Flags word.
enum : uint32_t {
  kJpgFlagSpecialQuant = 1u << 0,
  kJpgFlagPartialOutput = 1u << 1,
  kJpgFlagRedFirst = 1u << 4,  // three-byte pixels are red, green, blue (else blue, green, red)
  kJpgFlagDCTMethodShift = 18,
  kJpgFlagDCTMethodMask = 3u << 18,
  kJpgFlagNumericIDs = 1u << 21,
  kJpgFlagTablesWritten = 1u << 25,
  kJpgFlagEncoder = 1u << 27,
  kJpgFlagDecoder = 1u << 28,
  kJpgFlagMemoryOutput = 1u << 29,
  kJpgFlagNoColorConversion = 1u << 31,
};
constexpr uint32_t kJpgDefaultFlags = 0x08200000;
constexpr uint32_t kJpgDefaultSampling = 0x221111;
constexpr uint32_t kJpgArchVector = 0x100;
constexpr int32_t kJpgSelectorBaseline = 769;
constexpr int32_t kJpgSelectorBaseline2 = 771;

struct jpgColorJob;
struct jpgWContext;
typedef void (*jpgPrepareFunc)(const jpgColorJob* job, int32_t x, int32_t y);
typedef void (*jpgFDCTFunc)(int16_t* block);

// Quantises 64 DCT outputs by their divisors: magnitudes and extra forms in natural order,
// and bit n set where quotient n is not 0.
typedef uint64_t (*jpgQuantiseFunc)(const int16_t* coef, const uint16_t (*div)[64], uint16_t* magnitude,
                                    uint16_t* extra);
// Quantises and codes n consecutive transformed blocks of one component through the writer;
// the first failure's status.
typedef int32_t (*jpgCodeBlocksFunc)(jpgBitWriter* writer, jpgCoderComponent* comp, const uint16_t (*div)[64],
                                     const int16_t* blocks, int32_t n);
// The MCU in the coder's block buffer transformed (the short transform), quantised and coded,
// then the restart bookkeeping; every block is coded, the first failure's status kept.
typedef int32_t (*jpgMCUFunc)(jpgWContext* ctx);
// `pairs` pairs of whole grey blocks side by side along a band of 8 rows (16 samples a pair,
// rows rowBytes apart) level-shifted, transformed (the short transform), quantised and coded
// as one-block MCUs of the state's first component, each followed by the restart
// bookkeeping; the first failure's status, coding stopping there.
typedef int32_t (*jpgGreyPairsFunc)(const uint8_t* samples, int64_t rowBytes, int32_t pairs, jpgMCUCoderState* state,
                                    const uint16_t (*div)[64]);
// rows rows of n pixels (a multiple of 8; blue first, or red first with redFirst) to Y rows
// stride samples apart; every chromaStep-th row also gives Cb and Cr, planeSize and twice
// that past its Y.
typedef void (*jpgYUVRowsFunc)(const uint8_t* src, int64_t rowBytes, int32_t rows, int32_t n, int16_t* y,
                               int32_t stride, int32_t planeSize, int32_t chromaStep, bool redFirst);
// A whole MCU of sixteen columns and 8 x sy rows (sy 1 or 2) straight to its 2 x sy Y blocks
// and one block each of Cb and Cr, chroma point-sampled or averaged.
typedef void (*jpgYUVMCUFunc)(const uint8_t* src, int64_t rowBytes, int32_t sy, bool averaging, bool redFirst,
                              int16_t* blocks);

#if defined(__x86_64__) || defined(__i386__)
// Vector kernels also built for SSSE3 and AVX2, used in place of the SSE2 ones when the
// processor has them.
#define JPG_HAVE_SSSE3_KERNELS 1
#define JPG_HAVE_AVX2_KERNELS 1
#endif

// The vector kernels one instruction set runs, named for reports.
struct jpgKernelSet {
  const char* name;
  jpgFDCTFunc fdctShort;
  jpgFDCTFunc fdctShortPair;  // two consecutive blocks; null where lanes are not wide enough
  jpgFDCTFunc fdctFloat;
  jpgYUVRowsFunc yuvRows;
  jpgYUVMCUFunc yuvMCU;  // null where the rows' conversion serves
  jpgQuantiseFunc quantise;
  jpgCodeBlocksFunc codeBlocks;  // the quantiser above with the block coder
  jpgGreyPairsFunc codeGreyPairs;  // null where lanes are not wide enough for block pairs
  jpgMCUFunc codeMCU;  // the MCU through the pair transform, quantiser and coder; null likewise
};

// Where an encoder context is in its life: set-up calls until the first strip makes the frame.
enum jpgWriteState : int32_t { kJpgStateOpened = 0, kJpgStateCoding = 1 };

// A Huffman table as source (counts and values) and as code list.
struct jpgHuffSource {
  uint8_t counts[16];
  uint8_t values[256];
  uint8_t classAndId;
};

struct jpgComponentInfo {
  int32_t id;
  uint8_t sampling;  // h in the high nibble, v in the low one
  int32_t quantSel;
  int32_t dcSel;
  int32_t acSel;
};

// One code of a Huffman table; a code list ends with an entry of length 0.
struct jpgHuffEntry {
  uint32_t code;
  uint16_t symbol;
  uint16_t length;
};

// A decoding lookup group. A code's slots lie from (code left-justified to 16 bits AND mask)
// >> shift. Slots of a code with s = symbol mod 16 extra bits, in the first groups, hold
// value << 16 | symbol << 8 | (length + s), one per extra-bits value (its EXTEND result);
// other slots hold symbol << 8 | length; slots outside the group's codes kJpgLookupNoCode.
struct jpgHuffLookupGroup {
  uint32_t* table;  // count entries from complibMemAlloc; null for an empty group
  uint32_t mask;
  uint32_t shift;
  uint32_t count;
  uint32_t limit;  // codes from here on belong to later groups (the first group: shifted)
};
constexpr int kJpgACLookupGroups = 3;
constexpr int kJpgDCLookupGroups = 2;
constexpr uint32_t kJpgLookupNoCode = 0xFFFF0000;

// The decoding lookup groups of the four standard tables: built, never read by the encoder.
struct jpgHuffLookup {
  jpgHuffLookupGroup dc[2][kJpgDCLookupGroups];
  jpgHuffLookupGroup ac[2][kJpgACLookupGroups];
};

// The context: one 7644-byte block, checked by its tag and size on every call. The MCU coders'
// record sits at kJpgCoderStateOffset.
struct jpgWContext {
  char tag[4];
  uint32_t size;
  uint16_t version;
  uint8_t versionMinor;
  char versionLetter;
  uint32_t architecture;
  jpgMCUCoderState coder;

  const jpgKernelSet* kernels;  // null on the plain path
  jpgWriteState state;

  jpgWriteMCUFunc writeMCU;
  jpgWriteMCUFunc writeMCU2;
  jpgPrepareFunc prepare;
  jpgFDCTFunc fdct;
  jpgFDCTFunc fdctPair;  // the same transform of two consecutive blocks, when the kernels have it

  uint32_t frameMarker;
  uint32_t sampling;
  uint32_t flags;
  int32_t linesCoded;
  int32_t height;
  int32_t width;
  int32_t bitsPerSample;
  int32_t components;
  int32_t quality;
  int32_t subsamplingMethod;
  int32_t predictor;
  int32_t markerRemaining;  // bytes still announced by jpgWriteWriteMarkerCode

  // Quantisation: the base tables (zig-zag order), the coder's (x 8) and their reciprocals.
  int32_t quantBase[2][64];
  int32_t quant[2][64];
  uint32_t quantRecip[2][64];
  // The vector quantiser's divisors in natural order: q/2, then a multiplier and a scale whose
  // two high-half products divide exactly (jpgWVLC).
  uint16_t quantDivisors[2][3][64];
  // Prepared Huffman codes (complibMemAlloc blocks): DC 4095 entries, AC 256.
  jpgHuffCode* dcCodes[2];
  jpgHuffCode* acCodes[2];
  jpgHuffLookup* lookup;  // a complibMemAlloc block made with the Huffman tables

  int32_t hmax, vmax, mcuWidth, mcuHeight, mcusPerRow, mcuRows;
  jpgComponentInfo comp[4];

  complibBitstream stream;
};
static_assert(offsetof(jpgWContext, coder) == kJpgCoderStateOffset, "the MCU coders find their record here");
static_assert(sizeof(jpgWContext) <= kJpgContextSize, "the context must fit its block");

// Allocates and initialises a context (tag, size, version, defaults); its kernels are chosen
// by the caller (jpgSelectKernels).
jpgWContext* jpgProlog();
// The context when tag and size match, else null.
jpgWContext* jpgCheckParam(void* context);
// Frees the tables, closes the bitstream, clears tag and size, frees the block.
int32_t jpgEpilog(jpgWContext* ctx);

void* jpgMemAlloc(jpgWContext* ctx, int64_t size);
void jpgMemFree(jpgWContext* ctx, void* address);

extern const uint8_t kJpgZigZag[64];                // natural index of zig-zag position k
extern const int32_t kJpgStdQuant[2][64];           // Annex K luminance and chrominance, natural order
extern const jpgHuffSource kJpgStdHuffman[4];       // DC 0, DC 1, AC 0, AC 1

// Codes of a source table in code order, as T.81 Annex C generates them, ended by a
// length-0 entry (out holds 256), and the table's decoding lookup groups (three for an AC
// class byte, two for DC; previous ones must be freed). The code count, or kJpgBadHuffman
// when the source is not a valid code (more than 255 values, overfull lengths) or the groups
// cannot be built; the groups are then empty.
int32_t jpgGenerateHuffmanTable(const jpgHuffSource* source, jpgHuffEntry* out, jpgHuffLookupGroup* groups);
// The groups of a code list whose codes are left-justified to 16 bits: 0 or kJpgBadHuffman.
int32_t jpgGenerateHuffmanTable2(const jpgHuffEntry* list, jpgHuffLookupGroup* groups);
int32_t jpgGenerateDCHuffmanTable2(const jpgHuffEntry* list, jpgHuffLookupGroup* groups);
// One group from list index start: the index where the next group starts, or -1 when the
// group fails (a start of -1 fails too).
int32_t jpgGenerateHuffmanTable2Part1(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group);
int32_t jpgGenerateHuffmanTable2Part2(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group);
int32_t jpgGenerateHuffmanTable2Part3(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group);
int32_t jpgGenerateDCHuffmanTable2Part1(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group);
int32_t jpgGenerateDCHuffmanTable2Part2(const jpgHuffEntry* list, int32_t start, jpgHuffLookupGroup* group);
// Frees the groups' tables and leaves them zero.
void jpgFreeHuffmanLookup(jpgHuffLookupGroup* groups, int count);
