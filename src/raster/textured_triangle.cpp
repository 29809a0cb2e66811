#include "raster/triangles.h"

#include <cmath>

#include "base/fail.h"
#include "spans_avx2.h"
#include "spans_wasm.h"
#include "texel_shade.h"
#include "texture_fetch.h"
#include "tri_setup.h"
#include "tri_walk.h"


namespace {
// Values carried along the edges and spans: 1/z, u/z, v/z.
enum { IZ_, UIZ_, VIZ_, CARRIED };

// One span. Hidden pixels cost the comparison and three additions; the division
// and the texel read happen only where the depth test passes.
template <bool DARKEN, class Texture>
struct TexturedSpan {
  Texture tex;
  uint32_t col_scale2;
  float dizdx, duizdx, dvizdx;

  void operator()(uint32_t* pixels, float* depth, int32_t sx, int32_t ex, const float* v) const {
    float iz = v[IZ_], uiz = v[UIZ_], viz = v[VIZ_];
    for (int32_t x = sx; x < ex; ++x) {
      if (iz > depth[x]) {  // strict; NaN never passes
        const float z = 1.0f / iz;
        const uint32_t texel = tex.fetch(z * uiz, z * viz);
        pixels[x] = DARKEN ? subtract_bytes_saturated(texel, col_scale2)
                           : add_bytes_saturated(texel, col_scale2);
        depth[x] = iz;
      }
      iz += dizdx;
      uiz += duizdx;
      viz += dvizdx;
    }
  }
};

// The same span from a power-of-two texture through a vector kernel, eight
// (AVX2) or four (WebAssembly) pixels at a time. Spans shorter than
// SHORT_SPAN pixels stay with the one-pixel loop: for them the set-up of the
// lanes costs more than it saves. The last pixels of a longer span, fewer than
// a block, are drawn by the one-pixel loop too.
//
// Where a kernel for two rows is given, a long span waits for the next long
// span of the triangle and the two are drawn side by side (the rows are
// disjoint, so their order does not matter); finish() draws one left waiting.
using TexturedKernel = int32_t (*)(const TexturedSpanArgs&, uint32_t*, float*, int32_t, int32_t,
                                   int32_t, float*);
using TexturedPairKernel = void (*)(const TexturedSpanArgs&, SpanRun&, SpanRun&, int32_t);

template <bool DARKEN, TexturedKernel BRIGHTEN_KERNEL, TexturedKernel DARKEN_KERNEL,
          bool PAIRED = false, TexturedPairKernel BRIGHTEN_PAIR = nullptr,
          TexturedPairKernel DARKEN_PAIR = nullptr>
struct TexturedSpanVector {
  TexturedSpan<DARKEN, Pow2Texture> one;
  TexturedSpanArgs s;
  int32_t row_end;  // the target's width
  SpanRun waiting{};
  bool has_waiting = false;

  TexturedSpanVector(const TexturedSpan<DARKEN, Pow2Texture>& portable, int32_t width)
      : one(portable),
        s{portable.tex.base, portable.tex.sw, portable.tex.sh, portable.tex.shift,
          portable.col_scale2, portable.dizdx, portable.duizdx, portable.dvizdx},
        row_end(width) {}

  void operator()(uint32_t* pixels, float* depth, int32_t sx, int32_t ex, const float* v) {
    if (ex - sx < SHORT_SPAN) {
      one(pixels, depth, sx, ex, v);
      return;
    }
    SpanRun run{pixels, depth, sx, ex, {v[IZ_], v[UIZ_], v[VIZ_]}};
    if constexpr (PAIRED) {
      if (!has_waiting) {
        waiting = run;
        has_waiting = true;
        return;
      }
      has_waiting = false;
      (DARKEN ? DARKEN_PAIR : BRIGHTEN_PAIR)(s, waiting, run, row_end);
      finish_run(waiting);
    }
    finish_run(run);
  }

  // Draws the span left waiting for a partner, if any.
  void finish() {
    if (has_waiting) finish_run(waiting);
    has_waiting = false;
  }

 private:
  void finish_run(SpanRun& r) const {
    const int32_t x = (DARKEN ? DARKEN_KERNEL : BRIGHTEN_KERNEL)(s, r.pixels, r.depth, r.x, r.ex,
                                                                 row_end, r.v);
    one(r.pixels, r.depth, x, r.ex, r.v);
  }
};

template <bool DARKEN>
using TexturedSpanAvx2 =
    TexturedSpanVector<DARKEN, textured_span_avx2_brighten, textured_span_avx2_darken, true,
                       textured_span_pair_avx2_brighten, textured_span_pair_avx2_darken>;
template <bool DARKEN>
using TexturedSpanWasm128 =
    TexturedSpanVector<DARKEN, textured_span_wasm128_brighten, textured_span_wasm128_darken>;

// The vector kernels address texels by 32-bit signed byte offsets.
bool fits_vector_offsets(const TextureSource& tex) {
  if (!tex.pow2 || tex.shift > 31) return false;
  const uint64_t last = (uint64_t(tex.height - 1) << tex.shift) + 4 * uint64_t(tex.width - 1);
  return last <= uint64_t(INT32_MAX);
}

template <bool DARKEN>
void walk_textured(const TriSetup<CARRIED>& t, const RasterTarget& target, const DrawScope& scope,
                   const TextureSource& tex, uint32_t col_scale2) {
  const float dizdx = t.ddx[IZ_], duizdx = t.ddx[UIZ_], dvizdx = t.ddx[VIZ_];
  if (!tex.pow2) {
    walk_triangle(t, target, scope.band,
                  TexturedSpan<DARKEN, AnySizeTexture>{make_any_size_texture(tex), col_scale2,
                                                       dizdx, duizdx, dvizdx});
    return;
  }
  const TexturedSpan<DARKEN, Pow2Texture> span{make_pow2_texture(tex), col_scale2, dizdx, duizdx,
                                               dvizdx};
  if (runs_avx2(scope.simd) && fits_vector_offsets(tex)) {
    TexturedSpanAvx2<DARKEN> spans(span, target.width);
    walk_triangle(t, target, scope.band, spans);
    spans.finish();
  } else if (runs_wasm128(scope.simd) && fits_vector_offsets(tex)) {
    walk_triangle(t, target, scope.band, TexturedSpanWasm128<DARKEN>(span, target.width));
  } else
    walk_triangle(t, target, scope.band, span);
}

RasterCorner<CARRIED> textured_corner(float sx, float y, float sz, float tx, float ty) {
  const float iz = 1.0f / sz;
  return {to_sampling_grid(sx), y, {iz, tx * iz, ty * iz}};
}
}  // namespace

TextureSource prepare_texture(const IMAGE& texture) {
  TextureSource s;
  if (!image_is_usable(&texture)) return s;
  s.base = reinterpret_cast<const uint8_t*>(texture.pixels());
  s.width = texture.WIDTH;
  s.height = texture.HEIGHT;
  s.pitch = texture.PITCH;
  s.pow2 = texture_is_pow2(texture);
  // The row shift is log2 of the pitch, taken as ln(pitch) / ln 2 and rounded.
  if (s.pow2) s.shift = uint32_t(std::nearbyint(std::log(double(s.pitch)) / std::log(2.0)));
  return s;
}

void draw_textured_triangle(const RasterTarget& target, const DrawScope& scope,
                            const TextureSource& texture, float sx1, float sy1, float sz1,
                            float tx1, float ty1, float sx2, float sy2, float sz2, float tx2,
                            float ty2, float sx3, float sy3, float sz3, float tx3, float ty3,
                            int32_t col_scale) {
  if (!texture.base) return;
  const float y1 = to_sampling_grid(sy1), y2 = to_sampling_grid(sy2), y3 = to_sampling_grid(sy3);
  if (!rows_meet_band(y1, y2, y3, scope.band)) return;
  TriSetup<CARRIED> t;
  if (!setup_triangle<CARRIED>(textured_corner(sx1, y1, sz1, tx1, ty1),
                               textured_corner(sx2, y2, sz2, tx2, ty2),
                               textured_corner(sx3, y3, sz3, tx3, ty3), t))
    return;

  // The sign picks brightening or darkening; the magnitude goes on every byte.
  const bool darken = col_scale < 0;
  const uint32_t magnitude = darken ? 0u - uint32_t(col_scale) : uint32_t(col_scale);
  const uint32_t col_scale2 = spread_to_bytes(magnitude);
  if (darken)
    walk_textured<true>(t, target, scope, texture, col_scale2);
  else
    walk_textured<false>(t, target, scope, texture, col_scale2);
}

void fill_textured_triangle(IMAGE* dst, float* depth, const DrawScope& scope, float sx1,
                            float sy1, float sz1, float tx1, float ty1, float sx2, float sy2,
                            float sz2, float tx2, float ty2, float sx3, float sy3, float sz3,
                            float tx3, float ty3, int32_t col_scale, const IMAGE* texture) {
  if (!texture) RUNTIME_FAIL(ERR_NULL_POINTER, "TFPCSPTRI_ORIG");
  const TextureSource source = prepare_texture(*texture);
  if (!source.base) return;
  RasterTarget target;
  if (!resolve_raster_target(dst, depth, target)) return;
  draw_textured_triangle(target, scope, source, sx1, sy1, sz1, tx1, ty1, sx2, sy2, sz2, tx2, ty2,
                         sx3, sy3, sz3, tx3, ty3, col_scale);
}
