// The post-filters row by row, so that they can be split into bands of rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "raster/raster_target.h"
#include "render/draw_workers.h"
#include "render/post_filters.h"

// One averaged pixel from a 2 x 2 block: two pixels of the upper row and the
// two below them. Each byte is ((tl/2 + bl/2)/2) + ((tr/2 + br/2)/2). The
// halvings are done on two pixels at once as 64-bit words: AND with all bytes
// 0xFE and a shift by one halve all eight bytes; no byte sum exceeds 254
// before a halving, so bytes never carry into each other.
inline uint32_t average_block(const uint8_t* upper_pair, const uint8_t* lower_pair) {
  constexpr uint64_t PIXELFE = 0xFEFEFEFEFEFEFEFEull;
  uint64_t upper, lower;
  std::memcpy(&upper, upper_pair, 8);
  std::memcpy(&lower, lower_pair, 8);
  const uint64_t sum = ((upper & PIXELFE) >> 1) + ((lower & PIXELFE) >> 1);
  const uint64_t columns = (sum & PIXELFE) >> 1;
  return uint32_t(columns) + uint32_t(columns >> 32);
}

// One call of a filter: the image it reads (IN, rows IN_PITCH bytes apart),
// where it writes (resolve_target), and WIDTH x HEIGHT pixels: the output
// pixels of ANTIALIAS4X, the source pixels that SCALE2 doubles.
struct FilterPlan {
  PixelTarget out;
  const uint8_t* in;
  size_t in_pitch;
  uint32_t width, height;
  SimdPath simd;  // the row code: portable, or eight (AVX2) or four (WASM128) pixels at a time
};

// ANTIALIAS4X(INBUFF, OUTBUFF). False when the filter does nothing (an image
// that image_is_usable refuses, no target).
bool plan_antialias(const IMAGE* inbuff, IMAGE* outbuff, FilterPlan& plan);
// Output rows FIRST to END - 1.
void antialias_rows(const FilterPlan& plan, uint32_t first, uint32_t end);

// SCALE2(DST, SRC), DST null or SCREEN_TARGET for the screen page. False when
// the filter does nothing.
bool plan_scale2(IMAGE* dst, const IMAGE* src, FilterPlan& plan);
// Source row Y (its pixels at SOURCE_ROW) onto target rows 2Y and 2Y + 1.
void double_row(const FilterPlan& plan, const uint32_t* source_row, uint32_t y);
// What SCALE2 writes after its rows: an odd target's last column and row.
void double_edges(const FilterPlan& plan, const IMAGE* src);

// average_and_double(IN, HALF, DST) as one pass: false when it takes the two
// filters one after the other.
bool plan_average_and_double(const IMAGE* in, IMAGE* half, IMAGE* dst, FilterPlan& average,
                             FilterPlan& twice);
// Averaged rows FIRST to END - 1 of that pass, each written to HALF and doubled to DST.
void average_and_double_rows(const FilterPlan& average, const FilterPlan& twice, uint32_t first,
                             uint32_t end);

// Bands for a filter over ROWS rows that reads a SOURCE_WIDTH x SOURCE_ROWS
// drawing: that drawing's bands (frame_bands), so that each thread reads the
// rows it drew, but no more bands than rows.
int32_t filter_bands(const DrawWorkers& workers, uint32_t source_width, uint32_t source_rows,
                     uint32_t rows);
// The row code the filters run: the chosen path where it runs, else the portable one.
SimdPath filter_simd_path();
