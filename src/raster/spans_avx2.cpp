// The eight-lane span kernels. Only these functions are compiled for AVX2
// (by attribute, not by a flag for the whole file), so nothing they share with
// the rest of the program, such as an inline helper from a header, can come
// out of this file as AVX2 code and run on a processor without it.
#include "spans_avx2.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#define MW_AVX2 __attribute__((target("avx2")))

namespace {

// Eight pixels: the carried values at each of them, stepped by scalar
// additions exactly as the portable span steps them.
template <int N>
struct Block {
  alignas(32) float lane[N][8];

  void step(float* v, const float* d) {
    for (int i = 0; i < 8; ++i)
      for (int k = 0; k < N; ++k) {
        lane[k][i] = v[k];
        v[k] += d[k];
      }
  }
};

// The depth test of eight pixels, of which the first LEFT belong to the span:
// the lanes of the span whose 1/z is strictly greater than the stored value
// (a NaN on either side fails, as in the scalar test).
MW_AVX2 inline __m256 depth_test(const float* depth, __m256 iz, int32_t left) {
  const __m256 nearer = _mm256_cmp_ps(iz, _mm256_loadu_ps(depth), _CMP_GT_OQ);
  if (left >= 8) return nearer;
  const __m256i in_span =
      _mm256_cmpgt_epi32(_mm256_set1_epi32(left), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  return _mm256_and_ps(nearer, _mm256_castsi256_ps(in_span));
}

// Writes the pixel words and 1/z where PASS is set; the other lanes keep
// what they hold. All eight lie inside one row, which only this thread draws.
MW_AVX2 inline void store_passed(uint32_t* pixels, float* depth, __m256 pass, __m256i words,
                                 __m256 iz) {
  __m256i* p = reinterpret_cast<__m256i*>(pixels);
  const __m256i old = _mm256_loadu_si256(p);
  _mm256_storeu_si256(p, _mm256_blendv_epi8(old, words, _mm256_castps_si256(pass)));
  _mm256_storeu_ps(depth, _mm256_blendv_ps(_mm256_loadu_ps(depth), iz, pass));
}

// 1/z, u/z and v/z at eight consecutive pixels, one vector each. They are
// stepped as four-lane vectors (the three values and a spare lane), one
// addition per pixel: lane by lane the very additions, in the very order, of
// the portable span. Then the eight steps are turned into three vectors of
// eight pixels each.
struct TexturedSteps {
  __m256 iz, uiz, viz;
};

MW_AVX2 inline TexturedSteps transpose_eight(__m256 a, __m256 b, __m256 c, __m256 d);

MW_AVX2 inline TexturedSteps step_eight(__m128& carried, __m128 step) {
  __m128 p[8];
  for (int i = 0; i < 8; ++i) {
    p[i] = carried;
    carried = _mm_add_ps(carried, step);
  }
  return transpose_eight(_mm256_set_m128(p[4], p[0]), _mm256_set_m128(p[5], p[1]),
                         _mm256_set_m128(p[6], p[2]), _mm256_set_m128(p[7], p[3]));
}

// Eight lanes of pixels p0..p7 (each 1/z, u/z, v/z and a spare lane) turned
// into three vectors of eight pixels: a 4 x 4 transpose in each half, rows
// p0..p3 in the low halves and p4..p7 in the high ones.
MW_AVX2 inline TexturedSteps transpose_eight(__m256 a, __m256 b, __m256 c, __m256 d) {
  const __m256 ab_lo = _mm256_unpacklo_ps(a, b), cd_lo = _mm256_unpacklo_ps(c, d);
  const __m256 ab_hi = _mm256_unpackhi_ps(a, b), cd_hi = _mm256_unpackhi_ps(c, d);
  return {_mm256_shuffle_ps(ab_lo, cd_lo, 0x44), _mm256_shuffle_ps(ab_lo, cd_lo, 0xEE),
          _mm256_shuffle_ps(ab_hi, cd_hi, 0x44)};
}

// What one textured span keeps for its blocks: the texture and the shade as vectors.
struct TexelLook {
  __m256i sw, sh, shade;
  __m128i shift;
  const int* base;
};

MW_AVX2 inline TexelLook texel_look(const TexturedSpanArgs& s) {
  return {_mm256_set1_epi32(int32_t(s.sw)), _mm256_set1_epi32(int32_t(s.sh)),
          _mm256_set1_epi32(int32_t(s.col_scale2)), _mm_cvtsi32_si128(int32_t(s.shift)),
          reinterpret_cast<const int*>(s.base)};
}

// Draws the eight pixels at X (the first LEFT of them in the span) with the
// values AT.
template <bool DARKEN>
MW_AVX2 inline void draw_block(const TexelLook& t, uint32_t* pixels, float* depth, int32_t x,
                               int32_t left, const TexturedSteps& at) {
  const __m256 pass = depth_test(depth + x, at.iz, left);
  if (_mm256_testz_ps(pass, pass)) return;  // all hidden: no division, no texel read
  // z = 1 / (1/z); u = z (u/z), v = z (v/z), each rounded once as in the scalar code.
  const __m256 z = _mm256_div_ps(_mm256_set1_ps(1.0f), at.iz);
  const __m256 u = _mm256_mul_ps(z, at.uiz);
  const __m256 w = _mm256_mul_ps(z, at.viz);
  // Nearest texel, halves to even, wrapped by the masks; its byte offset.
  const __m256i pu = _mm256_and_si256(_mm256_cvtps_epi32(u), t.sw);
  const __m256i pv = _mm256_and_si256(_mm256_cvtps_epi32(w), t.sh);
  const __m256i offset = _mm256_add_epi32(_mm256_sll_epi32(pv, t.shift), _mm256_slli_epi32(pu, 2));
  // Texels of the passing pixels only: hidden pixels read nothing.
  const __m256i texel = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), t.base, offset,
                                                    _mm256_castps_si256(pass), 1);
  // Every byte plus or minus the amount, held to 0..255.
  const __m256i shaded = DARKEN ? _mm256_subs_epu8(texel, t.shade) : _mm256_adds_epu8(texel, t.shade);
  store_passed(pixels + x, depth + x, pass, shaded, at.iz);
}

// Whether the block at X of a span ending at EX is drawn by the kernels: it
// lies within the span, or at least within the row.
inline bool block_fits(int32_t x, int32_t ex, int32_t row_end) {
  return x < ex && (ex - x >= 8 || x + 8 <= row_end);
}

template <bool DARKEN>
MW_AVX2 int32_t textured_span(const TexturedSpanArgs& s, uint32_t* pixels, float* depth,
                              int32_t sx, int32_t ex, int32_t row_end, float* v) {
  const TexelLook look = texel_look(s);
  __m128 carried = _mm_setr_ps(v[0], v[1], v[2], 0.0f);
  const __m128 step = _mm_setr_ps(s.dizdx, s.duizdx, s.dvizdx, 0.0f);
  int32_t x = sx;
  // Blocks of eight pixels; the last one may reach past the span, but not
  // past the row: its extra lanes are left as they are.
  for (; block_fits(x, ex, row_end); x += 8)
    draw_block<DARKEN>(look, pixels, depth, x, ex - x, step_eight(carried, step));
  // The carried values at X, for the caller's one-pixel loop.
  alignas(16) float rest[4];
  _mm_store_ps(rest, carried);
  for (int k = 0; k < 3; ++k) v[k] = rest[k];
  return x;
}

// Two rows side by side: row A's values in the low half of each carried
// vector, row B's in the high half, so one addition steps both chains.
template <bool DARKEN>
MW_AVX2 void textured_span_pair(const TexturedSpanArgs& s, SpanRun& a, SpanRun& b,
                                int32_t row_end) {
  const TexelLook look = texel_look(s);
  __m256 carried = _mm256_setr_ps(a.v[0], a.v[1], a.v[2], 0.0f, b.v[0], b.v[1], b.v[2], 0.0f);
  const __m256 step =
      _mm256_setr_ps(s.dizdx, s.duizdx, s.dvizdx, 0.0f, s.dizdx, s.duizdx, s.dvizdx, 0.0f);
  for (; block_fits(a.x, a.ex, row_end) && block_fits(b.x, b.ex, row_end); a.x += 8, b.x += 8) {
    __m256 p[8];
    for (int i = 0; i < 8; ++i) {
      p[i] = carried;
      carried = _mm256_add_ps(carried, step);
    }
    // Pixels i and i + 4 of row A (low halves), then of row B (high halves).
    __m256 lo[4], hi[4];
    for (int i = 0; i < 4; ++i) {
      lo[i] = _mm256_permute2f128_ps(p[i], p[i + 4], 0x20);
      hi[i] = _mm256_permute2f128_ps(p[i], p[i + 4], 0x31);
    }
    draw_block<DARKEN>(look, a.pixels, a.depth, a.x, a.ex - a.x, transpose_eight(lo[0], lo[1], lo[2], lo[3]));
    draw_block<DARKEN>(look, b.pixels, b.depth, b.x, b.ex - b.x, transpose_eight(hi[0], hi[1], hi[2], hi[3]));
  }
  alignas(32) float rest[8];
  _mm256_store_ps(rest, carried);
  for (int k = 0; k < 3; ++k) a.v[k] = rest[k], b.v[k] = rest[4 + k];
}

}  // namespace

MW_AVX2 int32_t flat_span_avx2(uint32_t* pixels, float* depth, int32_t sx, int32_t ex,
                               int32_t row_end, float& iz, float dizdx, uint32_t col) {
  const __m256i colour = _mm256_set1_epi32(int32_t(col));
  float carried[1] = {iz};
  const float step[1] = {dizdx};
  Block<1> block;
  int32_t x = sx;
  for (; x < ex && (ex - x >= 8 || x + 8 <= row_end); x += 8) {
    block.step(carried, step);
    const __m256 z = _mm256_load_ps(block.lane[0]);
    const __m256 pass = depth_test(depth + x, z, ex - x);
    if (_mm256_testz_ps(pass, pass)) continue;
    store_passed(pixels + x, depth + x, pass, colour, z);
  }
  iz = carried[0];
  return x;
}

MW_AVX2 int32_t textured_span_avx2_brighten(const TexturedSpanArgs& s, uint32_t* pixels,
                                            float* depth, int32_t sx, int32_t ex,
                                            int32_t row_end, float* v) {
  return textured_span<false>(s, pixels, depth, sx, ex, row_end, v);
}

MW_AVX2 int32_t textured_span_avx2_darken(const TexturedSpanArgs& s, uint32_t* pixels,
                                          float* depth, int32_t sx, int32_t ex, int32_t row_end,
                                          float* v) {
  return textured_span<true>(s, pixels, depth, sx, ex, row_end, v);
}

MW_AVX2 void textured_span_pair_avx2_brighten(const TexturedSpanArgs& s, SpanRun& a, SpanRun& b,
                                              int32_t row_end) {
  textured_span_pair<false>(s, a, b, row_end);
}

MW_AVX2 void textured_span_pair_avx2_darken(const TexturedSpanArgs& s, SpanRun& a, SpanRun& b,
                                            int32_t row_end) {
  textured_span_pair<true>(s, a, b, row_end);
}

bool cpu_runs_avx2() {
  // Also false where the operating system does not keep the 256-bit registers.
  // The detection is run here, as this may be called before the run-time
  // library's own constructors (from a static initializer).
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

#else  // no AVX2 on this machine: the kernels are never called

int32_t flat_span_avx2(uint32_t*, float*, int32_t sx, int32_t, int32_t, float&, float, uint32_t) {
  return sx;
}
int32_t textured_span_avx2_brighten(const TexturedSpanArgs&, uint32_t*, float*, int32_t sx,
                                    int32_t, int32_t, float*) {
  return sx;
}
int32_t textured_span_avx2_darken(const TexturedSpanArgs&, uint32_t*, float*, int32_t sx, int32_t,
                                  int32_t, float*) {
  return sx;
}
void textured_span_pair_avx2_brighten(const TexturedSpanArgs&, SpanRun&, SpanRun&, int32_t) {}
void textured_span_pair_avx2_darken(const TexturedSpanArgs&, SpanRun&, SpanRun&, int32_t) {}
bool cpu_runs_avx2() {
  return false;
}

#endif
