// The four-lane span kernels for WebAssembly. Only this file (and the
// filters' twin) is compiled with the 128-bit vector instructions.
#include "spans_wasm.h"

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>

namespace {

// The depth test of four pixels, of which the first LEFT belong to the span:
// the lanes of the span whose 1/z is strictly greater than the stored value
// (a NaN on either side fails, as in the scalar test).
inline v128_t depth_test(const float* depth, v128_t iz, int32_t left) {
  const v128_t nearer = wasm_f32x4_gt(iz, wasm_v128_load(depth));
  if (left >= 4) return nearer;
  const v128_t in_span = wasm_i32x4_gt(wasm_i32x4_splat(left), wasm_i32x4_make(0, 1, 2, 3));
  return wasm_v128_and(nearer, in_span);
}

// Writes the pixel words and 1/z where PASS is set; the other lanes keep
// what they hold. All four lie inside one row, which only this thread draws.
inline void store_passed(uint32_t* pixels, float* depth, v128_t pass, v128_t words, v128_t iz) {
  wasm_v128_store(pixels, wasm_v128_bitselect(words, wasm_v128_load(pixels), pass));
  wasm_v128_store(depth, wasm_v128_bitselect(iz, wasm_v128_load(depth), pass));
}

// Nearest integer, halves to even, as the portable rounding gives it: NaN and
// values outside [-2^31, 2^31) become the most negative integer.
inline v128_t round_nan_indefinite(v128_t v) {
  const v128_t in_range = wasm_v128_and(wasm_f32x4_ge(v, wasm_f32x4_splat(-2147483648.0f)),
                                        wasm_f32x4_lt(v, wasm_f32x4_splat(2147483648.0f)));
  const v128_t rounded = wasm_i32x4_trunc_sat_f32x4(wasm_f32x4_nearest(v));
  return wasm_v128_bitselect(rounded, wasm_i32x4_splat(INT32_MIN), in_range);
}

// 1/z, u/z and v/z at four consecutive pixels, one vector each. They are
// stepped as one vector (the three values and a spare lane), one addition per
// pixel: lane by lane the very additions, in the very order, of the portable
// span. Then the four steps are transposed.
struct TexturedSteps {
  v128_t iz, uiz, viz;
};

inline TexturedSteps step_four(v128_t& carried, v128_t step) {
  const v128_t p0 = carried;
  const v128_t p1 = wasm_f32x4_add(p0, step);
  const v128_t p2 = wasm_f32x4_add(p1, step);
  const v128_t p3 = wasm_f32x4_add(p2, step);
  carried = wasm_f32x4_add(p3, step);
  const v128_t lo01 = wasm_i32x4_shuffle(p0, p1, 0, 4, 1, 5);  // iz0 iz1 uiz0 uiz1
  const v128_t lo23 = wasm_i32x4_shuffle(p2, p3, 0, 4, 1, 5);
  const v128_t hi01 = wasm_i32x4_shuffle(p0, p1, 2, 6, 3, 7);  // viz0 viz1 - -
  const v128_t hi23 = wasm_i32x4_shuffle(p2, p3, 2, 6, 3, 7);
  return {wasm_i64x2_shuffle(lo01, lo23, 0, 2), wasm_i64x2_shuffle(lo01, lo23, 1, 3),
          wasm_i64x2_shuffle(hi01, hi23, 0, 2)};
}

// The texels at four byte offsets, read only for the lanes that passed.
inline v128_t fetch_passed(const uint8_t* base, v128_t offset, v128_t pass) {
  uint32_t t[4] = {0, 0, 0, 0};
  const uint32_t o[4] = {uint32_t(wasm_i32x4_extract_lane(offset, 0)),
                         uint32_t(wasm_i32x4_extract_lane(offset, 1)),
                         uint32_t(wasm_i32x4_extract_lane(offset, 2)),
                         uint32_t(wasm_i32x4_extract_lane(offset, 3))};
  const int32_t passed = wasm_i32x4_bitmask(pass);
  for (int i = 0; i < 4; ++i)
    if (passed & (1 << i)) t[i] = *reinterpret_cast<const uint32_t*>(base + o[i]);
  return wasm_v128_load(t);
}

template <bool DARKEN>
int32_t textured_span(const TexturedSpanArgs& s, uint32_t* pixels, float* depth, int32_t sx,
                      int32_t ex, int32_t row_end, float* v) {
  const v128_t one = wasm_f32x4_splat(1.0f);
  const v128_t sw = wasm_i32x4_splat(int32_t(s.sw)), sh = wasm_i32x4_splat(int32_t(s.sh));
  const v128_t shade = wasm_i32x4_splat(int32_t(s.col_scale2));
  v128_t carried = wasm_f32x4_make(v[0], v[1], v[2], 0.0f);
  const v128_t step = wasm_f32x4_make(s.dizdx, s.duizdx, s.dvizdx, 0.0f);
  int32_t x = sx;
  // Blocks of four pixels; the last one may reach past the span, but not
  // past the row: its extra lanes are left as they are.
  for (; x < ex && (ex - x >= 4 || x + 4 <= row_end); x += 4) {
    const TexturedSteps at = step_four(carried, step);
    const v128_t pass = depth_test(depth + x, at.iz, ex - x);
    if (!wasm_v128_any_true(pass)) continue;  // all hidden: no division, no texel read
    // z = 1 / (1/z); u = z (u/z), v = z (v/z), each rounded once as in the scalar code.
    const v128_t z = wasm_f32x4_div(one, at.iz);
    const v128_t pu = wasm_v128_and(round_nan_indefinite(wasm_f32x4_mul(z, at.uiz)), sw);
    const v128_t pv = wasm_v128_and(round_nan_indefinite(wasm_f32x4_mul(z, at.viz)), sh);
    const v128_t offset = wasm_i32x4_add(wasm_i32x4_shl(pv, s.shift), wasm_i32x4_shl(pu, 2));
    const v128_t texel = fetch_passed(s.base, offset, pass);
    // Every byte plus or minus the amount, held to 0..255.
    const v128_t shaded = DARKEN ? wasm_u8x16_sub_sat(texel, shade) : wasm_u8x16_add_sat(texel, shade);
    store_passed(pixels + x, depth + x, pass, shaded, at.iz);
  }
  // The carried values at X, for the caller's one-pixel loop.
  v[0] = wasm_f32x4_extract_lane(carried, 0);
  v[1] = wasm_f32x4_extract_lane(carried, 1);
  v[2] = wasm_f32x4_extract_lane(carried, 2);
  return x;
}

}  // namespace

int32_t flat_span_wasm128(uint32_t* pixels, float* depth, int32_t sx, int32_t ex,
                          int32_t row_end, float& iz, float dizdx, uint32_t col) {
  const v128_t colour = wasm_i32x4_splat(int32_t(col));
  float z = iz;
  int32_t x = sx;
  for (; x < ex && (ex - x >= 4 || x + 4 <= row_end); x += 4) {
    // The scalar chain of additions, one per pixel.
    const float z0 = z, z1 = z0 + dizdx, z2 = z1 + dizdx, z3 = z2 + dizdx;
    z = z3 + dizdx;
    const v128_t lanes = wasm_f32x4_make(z0, z1, z2, z3);
    const v128_t pass = depth_test(depth + x, lanes, ex - x);
    if (!wasm_v128_any_true(pass)) continue;
    store_passed(pixels + x, depth + x, pass, colour, lanes);
  }
  iz = z;
  return x;
}

int32_t textured_span_wasm128_brighten(const TexturedSpanArgs& s, uint32_t* pixels, float* depth,
                                       int32_t sx, int32_t ex, int32_t row_end, float* v) {
  return textured_span<false>(s, pixels, depth, sx, ex, row_end, v);
}

int32_t textured_span_wasm128_darken(const TexturedSpanArgs& s, uint32_t* pixels, float* depth,
                                     int32_t sx, int32_t ex, int32_t row_end, float* v) {
  return textured_span<true>(s, pixels, depth, sx, ex, row_end, v);
}

bool wasm128_built() {
  return true;
}

#else  // built without the 128-bit vectors: the kernels are never called

int32_t flat_span_wasm128(uint32_t*, float*, int32_t sx, int32_t, int32_t, float&, float,
                          uint32_t) {
  return sx;
}
int32_t textured_span_wasm128_brighten(const TexturedSpanArgs&, uint32_t*, float*, int32_t sx,
                                       int32_t, int32_t, float*) {
  return sx;
}
int32_t textured_span_wasm128_darken(const TexturedSpanArgs&, uint32_t*, float*, int32_t sx,
                                     int32_t, int32_t, float*) {
  return sx;
}
bool wasm128_built() {
  return false;
}

#endif
