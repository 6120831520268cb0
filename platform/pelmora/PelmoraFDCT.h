// The one-dimensional forward DCT of eight samples, written once over a lane type so that the
// plain coder (one sample per lane) and vector coders (eight blocks' rows per lane group) give
// the same bits. Output scale: X0 = sum of the samples, Xu = sqrt(2) * sum x cos((2i+1)u pi/16),
// so a row pass and a column pass give eight times the coefficients of the standard DCT.
//
// Fixed point: 16-bit lanes, sums wrap, each product by a constant is (x * c + 16384) >> 15
// saturated (`mulQ15`), constants above 1 in magnitude split into whole and fractional parts.
// Callers clamp the input to -128..127 (the colour conversion rounds the chroma of pure red or
// blue up to 128), scale it by 4 and round the result back by 4: two extra bits of precision,
// with every product's operand still within 16 bits. Lanes should wrap by definition (unsigned).
//
// Floating point: single precision, separate multiply and add (no fused operations), so every
// lane type rounds alike.
#pragma once

#include <cstdint>

namespace pelmora_fdct {

// Q15 constants.
constexpr int16_t k0_298 = 9786, k0_053 = 1741, k0_072 = 2383, k0_501 = 16427, km0_899 = -29490,
                  km0_562 = -18446, km0_961 = -31509, km0_390 = -12785, k0_175 = 5763, k0_541 = 17734,
                  k0_765 = 25080, km0_847 = -27779;

template <class V, V (*mulQ15)(V, int16_t)>
inline void Short1D(V& d0, V& d1, V& d2, V& d3, V& d4, V& d5, V& d6, V& d7) {
  V tmp0 = d0 + d7, tmp7 = d0 - d7, tmp1 = d1 + d6, tmp6 = d1 - d6;
  V tmp2 = d2 + d5, tmp5 = d2 - d5, tmp3 = d3 + d4, tmp4 = d3 - d4;

  V tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3, tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
  d0 = tmp10 + tmp11;
  d4 = tmp10 - tmp11;
  V z1 = mulQ15(tmp12 + tmp13, k0_541);
  d2 = z1 + mulQ15(tmp13, k0_765);
  d6 = z1 - tmp12 + mulQ15(tmp12, km0_847);

  z1 = tmp4 + tmp7;
  V z2 = tmp5 + tmp6, z3 = tmp4 + tmp6, z4 = tmp5 + tmp7;
  V z34 = z3 + z4;
  V z5 = z34 + mulQ15(z34, k0_175);
  V t4 = mulQ15(tmp4, k0_298);
  V t5 = tmp5 + tmp5 + mulQ15(tmp5, k0_053);
  V t6 = tmp6 + tmp6 + tmp6 + mulQ15(tmp6, k0_072);
  V t7 = tmp7 + mulQ15(tmp7, k0_501);
  z1 = mulQ15(z1, km0_899);
  z2 = mulQ15(z2, km0_562) - z2 - z2;
  z3 = mulQ15(z3, km0_961) - z3 + z5;
  z4 = mulQ15(z4, km0_390) + z5;
  d7 = t4 + z1 + z3;
  d5 = t5 + z2 + z4;
  d3 = t6 + z2 + z3;
  d1 = t7 + z1 + z4;
}

template <class V>
inline void Float1D(V& d0, V& d1, V& d2, V& d3, V& d4, V& d5, V& d6, V& d7) {
  V tmp0 = d0 + d7, tmp7 = d0 - d7, tmp1 = d1 + d6, tmp6 = d1 - d6;
  V tmp2 = d2 + d5, tmp5 = d2 - d5, tmp3 = d3 + d4, tmp4 = d3 - d4;

  V tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3, tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
  d0 = tmp10 + tmp11;
  d4 = tmp10 - tmp11;
  V z1 = (tmp12 + tmp13) * 0.541196100f;
  d2 = z1 + tmp13 * 0.765366865f;
  d6 = z1 + tmp12 * -1.847759065f;

  z1 = tmp4 + tmp7;
  V z2 = tmp5 + tmp6, z3 = tmp4 + tmp6, z4 = tmp5 + tmp7;
  V z5 = (z3 + z4) * 1.175875602f;
  V t4 = tmp4 * 0.298631336f, t5 = tmp5 * 2.053119869f, t6 = tmp6 * 3.072711026f, t7 = tmp7 * 1.501321110f;
  z1 = z1 * -0.899976223f;
  z2 = z2 * -2.562915447f;
  z3 = z3 * -1.961570560f + z5;
  z4 = z4 * -0.390180644f + z5;
  d7 = t4 + z1 + z3;
  d5 = t5 + z2 + z4;
  d3 = t6 + z2 + z3;
  d1 = t7 + z1 + z4;
}

}  // namespace pelmora_fdct
