// The entropy coder's bit writer and block coder, shared by every MCU coder so that they all
// produce the same bytes: puts into a 32-bit accumulator, 0xFF stuffing, markers, and the
// quantisation and baseline Huffman coding of one transformed block.
#pragma once

#include <cstdint>
#include <cstring>

#include "pelmora/Pelmora.h"

namespace pelmora_bits {

constexpr int32_t kWriteFailed = static_cast<int32_t>(0xC000001D);

// Natural-order index of zig-zag position k.
constexpr uint8_t kZigZag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Quotients by a quantisation entry q (8..2040) come from (a * recip) >> 26, exact for a < 2^15.
constexpr int kRecipShift = 26;
constexpr uint32_t Reciprocal(int32_t q) { return static_cast<uint32_t>(((1u << kRecipShift) + q - 1) / q); }

// Empties the buffer into the output; after a failure nothing more is written.
inline int32_t Flush(jpgBitWriter* w) {
  int32_t n = w->count;
  w->count = 0;
  if (w->error) return kWriteFailed;
  if (n > 0 && w->writeOut(w->output, w->buffer, n) != 0) {
    w->error = 2;
    return kWriteFailed;
  }
  return 0;
}

inline int32_t PutByte(jpgBitWriter* w, uint8_t b) {
  w->buffer[w->count++] = b;
  return w->count == static_cast<int32_t>(sizeof(w->buffer)) ? Flush(w) : 0;
}

// The accumulator's four bytes, most significant first, each 0xFF followed by a stuffed 0x00.
inline int32_t EmitWord(jpgBitWriter* w, uint32_t acc) {
  if (w->count <= static_cast<int32_t>(sizeof(w->buffer)) - 9) {
    uint8_t* p = w->buffer + w->count;
    if (((~acc - 0x01010101u) & acc & 0x80808080u) == 0) {
      // No byte can be 0xFF: store the word as it is.
      p[0] = static_cast<uint8_t>(acc >> 24);
      p[1] = static_cast<uint8_t>(acc >> 16);
      p[2] = static_cast<uint8_t>(acc >> 8);
      p[3] = static_cast<uint8_t>(acc);
      w->count += 4;
      return 0;
    }
    for (int shift = 24; shift >= 0; shift -= 8) {
      uint8_t b = static_cast<uint8_t>(acc >> shift);
      *p++ = b;
      if (b == 0xFF) *p++ = 0;
    }
    w->count = static_cast<int32_t>(p - w->buffer);
    return 0;
  }
  int32_t status = 0;
  for (int shift = 24; shift >= 0; shift -= 8) {
    uint8_t b = static_cast<uint8_t>(acc >> shift);
    if (int32_t s = PutByte(w, b); s && !status) status = s;
    if (b == 0xFF)
      if (int32_t s = PutByte(w, 0); s && !status) status = s;
  }
  return status;
}

// Eight bytes of coded data, most significant first, with stuffing: the rare way, out of line so
// that the block coder's loop keeps its registers.
[[gnu::noinline]] inline int32_t EmitWord64Stuffed(jpgBitWriter* w, uint64_t word) {
  int32_t status = EmitWord(w, static_cast<uint32_t>(word >> 32));
  if (int32_t s = EmitWord(w, static_cast<uint32_t>(word)); s && !status) status = s;
  return status;
}

inline int32_t EmitWord64(jpgBitWriter* w, uint64_t word) {
  if (w->count <= static_cast<int32_t>(sizeof(w->buffer)) - 17 &&
      ((~word - 0x0101010101010101ull) & word & 0x8080808080808080ull) == 0) [[likely]] {
    uint64_t bigEndian = __builtin_bswap64(word);
    std::memcpy(w->buffer + w->count, &bigEndian, 8);
    w->count += 8;
    return 0;
  }
  return EmitWord64Stuffed(w, word);
}

// n bits (1..31), most significant first, into an accumulator the caller holds (so that it
// stays in registers over a block).
inline int32_t PutInto(jpgBitWriter* w, uint32_t& acc, int32_t& freeBits, uint32_t bits, int32_t n) {
  if (n < freeBits) {
    acc = (acc << n) | bits;
    freeBits -= n;
    return 0;
  }
  int32_t rest = n - freeBits;
  uint32_t word = (acc << freeBits) | (bits >> rest);
  acc = bits & ((1u << rest) - 1);
  freeBits = 32 - rest;
  return EmitWord(w, word);
}

inline int32_t Put(jpgBitWriter* w, uint32_t bits, int32_t n) { return PutInto(w, w->acc, w->freeBits, bits, n); }

// Pads pending bits with 1-bits to a byte boundary and emits them with stuffing, then the
// marker's two bytes unstuffed.
inline int32_t PutMarker(jpgBitWriter* w, uint16_t marker) {
  int32_t status = 0;
  int32_t pending = 32 - w->freeBits;
  if (pending > 0) {
    int32_t pad = (8 - pending % 8) % 8;
    uint32_t acc = (w->acc << pad) | ((1u << pad) - 1);
    int32_t bytes = (pending + pad) / 8;
    for (int32_t i = bytes - 1; i >= 0 && !status; --i) {
      uint8_t b = static_cast<uint8_t>(acc >> (8 * i));
      status = PutByte(w, b);
      if (!status && b == 0xFF) status = PutByte(w, 0);
    }
    w->acc = 0;
    w->freeBits = 32;
  }
  if (!status) status = PutByte(w, static_cast<uint8_t>(marker >> 8));
  if (!status) status = PutByte(w, static_cast<uint8_t>(marker));
  return status;
}

// Low-bit masks by the index of a magnitude's top bit: the extra bits of a value of that size.
constexpr uint32_t kExtraMask[16] = {0x1,   0x3,   0x7,   0xF,   0x1F,   0x3F,   0x7F,   0xFF,
                                     0x1FF, 0x3FF, 0x7FF, 0xFFF, 0x1FFF, 0x3FFF, 0x7FFF, 0xFFFF};

// A quantised block in natural order as the coder wants it: the magnitude of each value, and the
// value itself for positives or the value minus one for negatives (whose low bits are the extra
// bits); bit k of nonZero set where the value at zig-zag position k is not 0.
struct QuantisedBlock {
  uint16_t magnitude[64];
  uint16_t extra[64];
  uint64_t nonZero;
};

// Fills one entry from a quotient and the sign (0 or -1) of its coefficient.
inline void SetQuantised(QuantisedBlock* b, int n, uint32_t quotient, int32_t sign) {
  b->magnitude[n] = static_cast<uint16_t>(quotient);
  b->extra[n] = static_cast<uint16_t>(quotient ^ static_cast<uint32_t>(sign));
}

// Codes one quantised block.
inline int32_t EncodeQuantised(jpgBitWriter* w, jpgCoderComponent* c, const QuantisedBlock* b) {
  // A 64-bit accumulator over the block with `room` bits free (at least 1), pending bits
  // right-aligned, emitted eight bytes at a time.
  uint64_t acc = w->acc;
  int32_t room = 32 + w->freeBits;
  int32_t status = 0;
  auto put = [&](uint32_t bits, uint32_t length) {
    auto n = static_cast<int32_t>(length);
    room -= n;
    if (room > 0) [[likely]] {
      acc = (acc << n) | bits;
      return;
    }
    // The word is full: its last bits are the top of these, the rest start the next word.
    int32_t rest = -room;
    uint64_t word = (acc << (n - rest)) | (bits >> rest);
    acc = bits & ((uint64_t(1) << rest) - 1);
    room = 64 - rest;
    int32_t s = EmitWord64(w, word);
    status = status ? status : s;
  };
  // The DC value: the extra form plus one for negatives.
  auto dcExtra = static_cast<int16_t>(b->extra[0]);
  int32_t dcValue = dcExtra - (dcExtra >> 15);
  int32_t diff = dcValue - c->prevDC;
  c->prevDC = dcValue;
  const jpgHuffCode& dc = c->dcCodes[diff + 2047];
  put(dc.bits, dc.length);
  // Zig-zag positions 1..63 as bits 0..62; after each value the mask moves past it, so the
  // trailing zeros count the run before the next one.
  uint64_t rest = b->nonZero >> 1;
  const uint8_t* position = kZigZag + 1;
  const jpgHuffCode* ac = c->acCodes;
  while (rest) {
    auto run = static_cast<uint64_t>(static_cast<uint32_t>(__builtin_ctzll(rest)));
    rest = (rest >> run) >> 1;
    position += run;
    if (run >= 16) [[unlikely]] {
      do {
        put(ac[0xF0].bits, ac[0xF0].length);
        run -= 16;
      } while (run >= 16);
    }
    size_t n = *position++;
    auto top = static_cast<uint64_t>(63 ^ __builtin_clzll(b->magnitude[n]));
    const jpgHuffCode& code = ac[run * 16 + top + 1];
    put(code.bits | (b->extra[n] & kExtraMask[top]), code.length);
  }
  if (position != kZigZag + 64) put(ac[0x00].bits, ac[0x00].length);
  // Back to the writer's 32-bit form.
  int32_t used = 64 - room;
  if (used >= 32) {
    used -= 32;
    if (int32_t s = EmitWord(w, static_cast<uint32_t>(acc >> used)); s && !status) status = s;
    acc &= (uint64_t(1) << used) - 1;
  }
  w->acc = static_cast<uint32_t>(acc);
  w->freeBits = 32 - used;
  return status;
}

// Quantises and codes one block of DCT output (eight times the standard coefficients): each
// value is (|c| + q/2) / q with the sign of c.
inline int32_t EncodeBlock(jpgBitWriter* w, jpgCoderComponent* c, const int16_t* coef) {
  QuantisedBlock b;
  b.nonZero = 0;
  for (int k = 0; k < 64; ++k) {
    int n = kZigZag[k];
    int32_t x = coef[n];
    int32_t sign = x >> 31;
    uint32_t a = static_cast<uint32_t>((x ^ sign) - sign) + static_cast<uint32_t>(c->quant[k] >> 1);
    auto v = static_cast<uint32_t>((static_cast<uint64_t>(a) * c->recip[k]) >> kRecipShift);
    SetQuantised(&b, n, v, sign);
    b.nonZero |= static_cast<uint64_t>(v != 0) << k;
  }
  return EncodeQuantised(w, c, &b);
}

// After each MCU: closes a restart interval with RSTm and fresh DC predictors, except after
// the image's last MCU.
inline int32_t EndMCU(jpgMCUCoderState* s) {
  --s->mcusLeft;
  if (s->restartInterval == 0 || ++s->restartCounter != s->restartInterval) return 0;
  s->restartCounter = 0;
  if (s->mcusLeft <= 0) return 0;
  int32_t status = PutMarker(&s->bits, static_cast<uint16_t>(0xFFD0 + s->nextRestart));
  s->nextRestart = (s->nextRestart + 1) & 7;
  for (int i = 0; i < s->components; ++i) s->comp[i].prevDC = 0;
  return status;
}

}  // namespace pelmora_bits
