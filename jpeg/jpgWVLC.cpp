#include "jpeg/jpgWVLC.h"

#include <cstring>

#include "jpeg/simd/jpgCodeKernels.h"
#include "pelmora/PelmoraBits.h"

namespace {

constexpr jpgZigZagBitTable makeZigZagBits() {
  int position[64] = {};
  for (int k = 0; k < 64; ++k) position[pelmora_bits::kZigZag[k]] = k;
  jpgZigZagBitTable t{};
  for (int r = 0; r < 8; ++r)
    for (int b = 0; b < 256; ++b)
      for (int i = 0; i < 8; ++i)
        if (b & (1 << i)) t.bits[r][b] |= uint64_t(1) << position[8 * r + i];
  return t;
}
// Quotients of a < 2^14 by q (8..2040) as ((a * mult) >> 16) * scale >> 16, exact: mult is
// ceil(2^(16 + l) / q) with 2^l the largest power of two below q, scale is 2^(16 - l).
void makeDivisors(int32_t q, uint16_t* half, uint16_t* mult, uint16_t* scale) {
  int p = 31 - __builtin_clz(static_cast<uint32_t>(q));
  int l = (1 << p) == q ? p - 1 : p;
  *half = static_cast<uint16_t>(q >> 1);
  *mult = static_cast<uint16_t>(((uint32_t(1) << (16 + l)) + q - 1) / q);
  *scale = static_cast<uint16_t>(1u << (16 - l));
}

}  // namespace

constexpr jpgZigZagBitTable jpgZigZagBits = makeZigZagBits();

uint64_t jpgWriteQuantise_AltiVec(const int16_t* coef, const uint16_t (*div)[64], uint16_t* magnitude, uint16_t* extra) {
  return jpgvec::QuantiseKernel(coef, div, magnitude, extra);
}

void jpgWriteTransformBlocks(jpgWContext* ctx, int16_t* blocks, int32_t n) {
  int32_t b = 0;
  if (ctx->fdctPair)
    for (; b + 1 < n; b += 2) ctx->fdctPair(blocks + 64 * b);
  for (; b < n; ++b) ctx->fdct(blocks + 64 * b);
}

int32_t jpgWriteCodeMCU(jpgWContext* ctx) {
  jpgMCUCoderState* s = &ctx->coder;
  int16_t* block = s->blocks;
  int32_t status = 0;
  for (int c = 0; c < s->components; ++c) {
    jpgCoderComponent* comp = &s->comp[c];
    const uint16_t(*div)[64] = ctx->quantDivisors[ctx->comp[c].quantSel];
    if (int32_t st = ctx->kernels->codeBlocks(&s->bits, comp, div, block, comp->blocks); st && !status) status = st;
    block += 64 * comp->blocks;
  }
  if (int32_t st = pelmora_bits::EndMCU(s); st && !status) status = st;
  return status;
}

int32_t jpgWriteCodeOneBlockMCUs(jpgWContext* ctx, const int16_t* blocks, int32_t count) {
  jpgMCUCoderState* s = &ctx->coder;
  const uint16_t(*div)[64] = ctx->quantDivisors[ctx->comp[0].quantSel];
  int32_t status = 0;
  for (int32_t i = 0; i < count && !status; ++i, blocks += 64) {
    status = ctx->kernels->codeBlocks(&s->bits, &s->comp[0], div, blocks, 1);
    if (int32_t st = pelmora_bits::EndMCU(s); st && !status) status = st;
  }
  return status;
}

int32_t jpgWriteCodeBlocks_AltiVec(jpgBitWriter* writer, jpgCoderComponent* comp, const uint16_t (*div)[64],
                                   const int16_t* blocks, int32_t n) {
  return jpgvec::CodeBlocksKernel(writer, comp, div, blocks, n);
}

int32_t writeBaseLineMCU_Altivec(void* context) {
  auto* ctx = static_cast<jpgWContext*>(context);
  // With the pair transform the kernels take the whole MCU, coefficients staying in registers.
  if (ctx->fdctPair && ctx->kernels->codeMCU) return ctx->kernels->codeMCU(ctx);
  int32_t blocks = 0;
  for (int c = 0; c < ctx->coder.components; ++c) blocks += ctx->coder.comp[c].blocks;
  jpgWriteTransformBlocks(ctx, ctx->coder.blocks, blocks);
  return jpgWriteCodeMCU(ctx);
}

int32_t putByteToJPEGFile(jpgWContext* ctx, uint8_t byte) { return pelmora_bits::PutByte(&ctx->coder.bits, byte); }

int32_t jpgWritePutBytes(jpgWContext* ctx, const uint8_t* data, int64_t n) {
  int32_t status = 0;
  for (int64_t i = 0; i < n && !status; ++i) status = putByteToJPEGFile(ctx, data[i]);
  return status;
}

int32_t jpgWritePutMarkerCode(jpgWContext* ctx, uint16_t marker) {
  return pelmora_bits::PutMarker(&ctx->coder.bits, marker);
}

int32_t jpgWritePutSegment(jpgWContext* ctx, uint16_t marker, const uint8_t* data, int32_t length) {
  uint8_t field[2];
  complibValToMem(field, 2, static_cast<uint32_t>(length + 2));
  int32_t status = jpgWritePutMarkerCode(ctx, marker);
  if (!status) status = jpgWritePutBytes(ctx, field, 2);
  if (!status) status = jpgWritePutBytes(ctx, data, length);
  return status;
}

int32_t jpgWriteFlushBits(jpgWContext* ctx) { return pelmora_bits::Flush(&ctx->coder.bits); }

int32_t writeDNL(jpgWContext* ctx) {
  uint8_t lines[2];
  complibValToMem(lines, 2, static_cast<uint32_t>(ctx->linesCoded));
  return jpgWritePutSegment(ctx, 0xFFDC, lines, 2);
}

namespace {

// Used in place of the scaled tables when flags bit 0 is set; zig-zag order, never scaled.
constexpr int32_t kSpecialQuant[2][64] = {
    {4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
     1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 2, 3, 2, 2, 2, 3, 3, 3, 3, 1, 2, 3, 3, 3, 3, 3, 2, 3, 3, 3},
    {4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 2, 1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3,
     3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
};

void createDQT(jpgWContext* ctx) {
  int32_t q = ctx->quality < 1 ? 1 : ctx->quality > 100 ? 100 : ctx->quality;
  int32_t scale = q < 50 ? 5000 / q : 200 - 2 * q;
  for (int t = 0; t < 2; ++t)
    for (int k = 0; k < 64; ++k) {
      int32_t e = ctx->quantBase[t][k];
      if (ctx->flags & kJpgFlagSpecialQuant) {
        e = kSpecialQuant[t][k];
      } else {
        e = (e * scale + 50) / 100;
        e = e < 1 ? 1 : e > 255 ? 255 : e;
      }
      ctx->quantBase[t][k] = e;
      ctx->quant[t][k] = e * 8;
      ctx->quantRecip[t][k] = pelmora_bits::Reciprocal(e * 8);
      int n = kJpgZigZag[k];
      makeDivisors(e * 8, &ctx->quantDivisors[t][0][n], &ctx->quantDivisors[t][1][n], &ctx->quantDivisors[t][2][n]);
    }
}

int32_t writeDQT(jpgWContext* ctx) {
  uint8_t data[130];
  for (int t = 0; t < 2; ++t) {
    data[t * 65] = static_cast<uint8_t>(t);
    for (int k = 0; k < 64; ++k) data[t * 65 + 1 + k] = static_cast<uint8_t>(ctx->quantBase[t][k]);
  }
  return jpgWritePutSegment(ctx, 0xFFDB, data, sizeof(data));
}

int32_t createDHT(jpgWContext* ctx) {
  if (!ctx->lookup) {
    ctx->lookup = static_cast<jpgHuffLookup*>(complibMemAlloc(int64_t(sizeof(jpgHuffLookup))));
    if (!ctx->lookup) return kJpgNoMemory;
    std::memset(ctx->lookup, 0, sizeof(jpgHuffLookup));
  }
  for (int t = 0; t < 4; ++t) {
    const jpgHuffSource& src = kJpgStdHuffman[t];
    const bool dc = t < 2;
    const int slot = t & 1;
    jpgHuffLookupGroup* groups = dc ? ctx->lookup->dc[slot] : ctx->lookup->ac[slot];
    jpgFreeHuffmanLookup(groups, dc ? kJpgDCLookupGroups : kJpgACLookupGroups);
    jpgHuffEntry codes[256];
    int32_t n = jpgGenerateHuffmanTable(&src, codes, groups);
    if (n < 0) return n;
    jpgHuffEntry bySymbol[256];
    jpgWriteSortHuffmanTable(codes, bySymbol);
    jpgHuffCode*& table = dc ? ctx->dcCodes[slot] : ctx->acCodes[slot];
    complibMemFree(table);
    table = static_cast<jpgHuffCode*>(complibMemAlloc((dc ? 4095 : 256) * int64_t(sizeof(jpgHuffCode))));
    if (!table) return kJpgNoMemory;
    if (dc) {
      // By size: the 2^(s-1) magnitudes of size s sit either side of 0 with consecutive extra
      // bits, so each size fills two runs without classifying every value.
      table[2047] = bySymbol[0].length ? jpgHuffCode{bySymbol[0].code, bySymbol[0].length} : jpgHuffCode{0, 0};
      for (uint32_t size = 1; size <= 11; ++size) {
        const jpgHuffEntry& e = bySymbol[size];
        const int32_t low = 1 << (size - 1);
        for (int32_t m = low; m < 2 * low; ++m) {
          const uint32_t negative = static_cast<uint32_t>(2 * low - 1 - m);
          table[2047 + m] = e.length ? jpgHuffCode{(e.code << size) | uint32_t(m), e.length + size} : jpgHuffCode{0, 0};
          table[2047 - m] = e.length ? jpgHuffCode{(e.code << size) | negative, e.length + size} : jpgHuffCode{0, 0};
        }
      }
    } else {
      for (int i = 0; i < 256; ++i) {
        uint32_t size = static_cast<uint32_t>(i & 15);
        const jpgHuffEntry& e = bySymbol[i];
        table[i] = e.length ? jpgHuffCode{e.code << size, e.length + size} : jpgHuffCode{0, 0};
      }
    }
  }
  return kJpgOK;
}

int32_t writeDHT(jpgWContext* ctx) {
  uint8_t data[4 * 273];
  int32_t length = 0;
  for (const jpgHuffSource& src : kJpgStdHuffman) {
    int32_t n = 0;
    for (uint8_t c : src.counts) n += c;
    if (n == 0) continue;
    data[length++] = src.classAndId;
    for (uint8_t c : src.counts) data[length++] = c;
    for (int i = 0; i < n; ++i) data[length++] = src.values[i];
  }
  return jpgWritePutSegment(ctx, 0xFFC4, data, length);
}

}  // namespace

jpgValueClass jpgWriteClassOf(int32_t value) {
  uint32_t magnitude = static_cast<uint32_t>(value < 0 ? -value : value);
  uint32_t size = magnitude ? static_cast<uint32_t>(32 - __builtin_clz(magnitude)) : 0;
  uint32_t bits = static_cast<uint32_t>(value < 0 ? value + (1 << size) - 1 : value);
  return jpgValueClass{size, bits};
}

void jpgWriteSortHuffmanTable(const jpgHuffEntry* list, jpgHuffEntry* bySymbol) {
  for (int i = 0; i < 256; ++i) bySymbol[i] = jpgHuffEntry{0, static_cast<uint16_t>(i), 0};
  for (const jpgHuffEntry* e = list; e->length != 0; ++e) bySymbol[e->symbol & 0xFF] = *e;
}

int32_t jpgWriteBaseLine8BitDCHuffman(jpgBitWriter* writer, const jpgCoderComponent* component, int32_t difference) {
  if (difference < -2047 || difference > 2047) return kJpgBadParameter;
  const jpgHuffCode& code = component->dcCodes[difference + 2047];
  return pelmora_bits::Put(writer, code.bits, static_cast<int32_t>(code.length));
}

int32_t jpgWritePut8BitDCHuffman(jpgBitWriter* writer, const jpgHuffEntry* table, int32_t value) {
  if (value < -2047 || value > 2047) return kJpgBadParameter;
  jpgValueClass c = jpgWriteClassOf(value);
  const jpgHuffEntry& e = table[c.size];
  if (e.length == 0) return kJpgBadParameter;
  return pelmora_bits::Put(writer, (e.code << c.size) | c.bits, e.length + static_cast<int32_t>(c.size));
}

int32_t jpgWritePut8BitACHuffman(jpgBitWriter* writer, const jpgHuffEntry* table, int32_t value, int32_t run) {
  if (value < -1023 || value > 1023 || run < 0 || run > 15) return kJpgBadParameter;
  jpgValueClass c = jpgWriteClassOf(value);
  const jpgHuffEntry& e = table[run * 16 + static_cast<int32_t>(c.size)];
  if (e.length == 0) return kJpgBadParameter;
  return pelmora_bits::Put(writer, (e.code << c.size) | c.bits, e.length + static_cast<int32_t>(c.size));
}

int32_t jpgWriteCreateTables(jpgWContext* ctx) {
  createDQT(ctx);
  int32_t status = writeDQT(ctx);
  if (!status) status = createDHT(ctx);
  if (!status) status = writeDHT(ctx);
  return status;
}

void jpgWriteAttachTables(jpgWContext* ctx) {
  for (int c = 0; c < 4; ++c) {
    jpgCoderComponent& comp = ctx->coder.comp[c];
    const jpgComponentInfo& info = ctx->comp[c];
    comp.quant = ctx->quant[info.quantSel];
    comp.recip = ctx->quantRecip[info.quantSel];
    comp.dcCodes = ctx->dcCodes[info.dcSel];
    comp.acCodes = ctx->acCodes[info.acSel];
    comp.prevDC = 0;
  }
}

int32_t jpgWriteWriteSOF(jpgWContext* ctx) {
  if (ctx->frameMarker < 0xFFC0 || ctx->frameMarker > 0xFFFE) return kJpgBadParameter;
  uint8_t data[6 + 3 * 4];
  data[0] = static_cast<uint8_t>(ctx->bitsPerSample);
  complibValToMem(data + 1, 2, static_cast<uint32_t>(ctx->height));
  complibValToMem(data + 3, 2, static_cast<uint32_t>(ctx->width));
  data[5] = static_cast<uint8_t>(ctx->components);
  for (int c = 0; c < ctx->components; ++c) {
    data[6 + 3 * c] = static_cast<uint8_t>(ctx->comp[c].id);
    data[7 + 3 * c] = ctx->comp[c].sampling;
    data[8 + 3 * c] = static_cast<uint8_t>(ctx->comp[c].quantSel);
  }
  return jpgWritePutSegment(ctx, static_cast<uint16_t>(ctx->frameMarker), data, 6 + 3 * ctx->components);
}

int32_t jpgWriteWriteDRI(jpgWContext* ctx) {
  if (ctx->coder.restartInterval == 0) return kJpgOK;
  uint8_t data[2];
  complibValToMem(data, 2, static_cast<uint32_t>(ctx->coder.restartInterval));
  return jpgWritePutSegment(ctx, 0xFFDD, data, 2);
}

int32_t jpgWriteWriteSOS(jpgWContext* ctx) {
  uint8_t data[4 + 2 * 4];
  int n = ctx->components;
  data[0] = static_cast<uint8_t>(n);
  for (int c = 0; c < n; ++c) {
    data[1 + 2 * c] = static_cast<uint8_t>(ctx->comp[c].id);
    data[2 + 2 * c] = static_cast<uint8_t>(ctx->comp[c].dcSel * 16 + ctx->comp[c].acSel);
  }
  data[1 + 2 * n] = 0;
  data[2 + 2 * n] = 63;
  data[3 + 2 * n] = 0;
  return jpgWritePutSegment(ctx, 0xFFDA, data, 4 + 2 * n);
}
