// The plan a frame's filled triangles are drawn by: made ready on the calling
// thread, then drawn band by band on the drawing threads.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/triangles.h"
#include "render/draw_workers.h"
#include "render/render_globals.h"
#include "render/render_queue.h"

// One frame's filled drawing, made ready on the calling thread: the target,
// each texture made ready once, and for every band the entries that reach it,
// in queue order. Kept from frame to frame so that nothing is allocated once
// the queue has been at its largest.
struct DrawPlan {
  RasterTarget target;
  std::vector<const IMAGE*> texture_images;
  std::vector<TextureSource> textures;
  std::vector<uint32_t> texture_of;           // per entry, an index into textures
  std::vector<std::vector<int32_t>> entries;  // per band
  int32_t bands = 0;

  // The slot of TEXTURE in textures, made ready the first time it is met.
  uint32_t texture_slot(const IMAGE* texture) {
    const size_t n = texture_images.size();
    for (size_t i = n; i > 0; --i)  // the latest first: entries of a model share one
      if (texture_images[i - 1] == texture) return uint32_t(i - 1);
    texture_images.push_back(texture);
    textures.push_back(prepare_texture(*texture));
    return uint32_t(n);
  }

  // Entries 0 to COUNT - 1, binned by the bands of rows they may draw. COUNT
  // stops short of the first textured entry without a texture.
  void make(const SORT_STRUCT* queue, int32_t& count, int32_t band_count) {
    bands = band_count;
    texture_images.clear();
    textures.clear();
    texture_of.resize(size_t(count));
    entries.resize(size_t(bands));
    for (std::vector<int32_t>& list : entries) list.clear();
    const int32_t rows = target.height;
    for (int32_t i = 0; i < count; ++i) {
      const SORT_STRUCT& e = queue[i];
      if (e.USE_TEX != 0) {
        if (!e.TEXTURE) {
          count = i;
          return;
        }
        texture_of[size_t(i)] = texture_slot(e.TEXTURE);
      }
      RowBand r;
      if (!triangle_rows(e.VEC(0).Y, e.VEC(1).Y, e.VEC(2).Y, r)) continue;
      if (r.first < 0) r.first = 0;
      if (r.end > rows) r.end = rows;
      if (r.first >= r.end) continue;
      for (int32_t b = band_of(r.first), last = band_of(r.end - 1); b <= last; ++b)
        entries[size_t(b)].push_back(i);
    }
  }

  // The band that holds ROW (0 to the target's height - 1).
  int32_t band_of(int32_t row) const {
    int32_t b = int32_t(int64_t(row) * bands / target.height);
    while (b + 1 < bands && even_band_rows(target.height, bands, b + 1).first <= row) ++b;
    while (b > 0 && even_band_rows(target.height, bands, b).first > row) --b;
    return b;
  }

  // Zeroes the rows of BAND: whole pixel rows, as the back-buffer clear
  // does, and their 1/z values.
  void clear_band(int32_t band) const {
    const BandRows rows = even_band_rows(target.height, bands, band);
    for (int32_t y = rows.first; y < rows.end; ++y) {
      std::memset(target.pixel_row(y), 0, target.pitch);
      std::memset(target.depth_row(y), 0, size_t(target.width) * sizeof(float));
    }
  }

  // Draws the entries of BAND into its rows.
  void draw_band(const SORT_STRUCT* queue, int32_t band) const {
    const BandRows rows = even_band_rows(target.height, bands, band);
    const DrawScope scope{RowBand{rows.first, rows.end}, simd_path};
    for (const int32_t i : entries[size_t(band)]) {
      const SORT_STRUCT& e = queue[i];
      const NMATHF::VEC3F* v = e.VEC.data();
      if (e.USE_TEX != 0) {
        const NMATHF::VEC2F* t = e.UV.data();
        draw_textured_triangle(target, scope, textures[texture_of[size_t(i)]], v[0].X, v[0].Y,
                               v[0].Z, t[0].X, t[0].Y, v[1].X, v[1].Y, v[1].Z, t[1].X, t[1].Y,
                               v[2].X, v[2].Y, v[2].Z, t[2].X, t[2].Y, e.SHADE);
      } else {
        draw_flat_triangle(target, scope, v[0].X, v[0].Y, v[0].Z, v[1].X, v[1].Y, v[1].Z, v[2].X,
                           v[2].Y, v[2].Z, e.COL);
      }
    }
  }
};
