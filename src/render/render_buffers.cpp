#include "render/render_buffers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "render/draw_workers.h"
#include "render/render_globals.h"

namespace {
// A size divided by 2 in double and taken to the nearest integer, halves to even.
int32_t half_nearest(int32_t n) {
  return int32_t(std::nearbyint(double(n) / 2.0));
}

float ratio(int32_t w, int32_t h) {
  return float(double(w) / double(h));
}
}  // namespace

int32_t INIT_BUFFERS() {
  int32_t new_w, new_h;
  if (ISCALE && !ANTI_ALIAS) {  // half size, doubled onto the screen
    ASPECT = ratio(SCR_W / 2, SCR_H / 2);
    TSCRW = SCR_W2 / 2;
    TSCRH = SCR_H2 / 2;
    TOP = SCR_H / 2;
    BUFFW = SCR_W2;
    BUFFH = SCR_H2;
    new_w = half_nearest(SCR_W);
    new_h = half_nearest(SCR_H);
  } else if (!ISCALE && ANTI_ALIAS) {  // twice the size, averaged onto the screen
    ASPECT = ratio(2 * SCR_W, 2 * SCR_H);
    TSCRW = 2 * SCR_W2;
    TSCRH = 2 * SCR_H2;
    TOP = 2 * SCR_H;
    BUFFW = new_w = 2 * SCR_W;
    BUFFH = new_h = 2 * SCR_H;
  } else {  // screen size: copied, or averaged to half size and doubled back
    ASPECT = ratio(SCR_W, SCR_H);
    TSCRW = SCR_W2;
    TSCRH = SCR_H2;
    TOP = SCR_H;
    BUFFW = new_w = SCR_W;
    BUFFH = new_h = SCR_H;
  }

  if (BACKBUFFER) image_destroy(BACKBUFFER);
  BACKBUFFER = image_create(new_w, new_h);
  if (ISCALE && ANTI_ALIAS) {
    if (BACKBUFFER2) image_destroy(BACKBUFFER2);
    BACKBUFFER2 = image_create(half_nearest(SCR_W), half_nearest(SCR_H));
  }
  BUFFSIZE = BUFFW * BUFFH;
  if (ZBUFF) std::free(ZBUFF);
  ZBUFF = static_cast<float*>(std::calloc(size_t(BUFFSIZE), sizeof(float)));

  PROJECTION_MATRIX = NMATHF::MATRIX(0.0f);
  PROJECTION_MATRIX.PERSPECTIVE(FOV, ASPECT, ZNEAR, ZFAR);
  return 1;
}

void free_buffers() {
  if (ZBUFF) std::free(ZBUFF);
  ZBUFF = nullptr;
  if (BACKBUFFER) image_destroy(BACKBUFFER);
  BACKBUFFER = nullptr;
  if (BACKBUFFER2) image_destroy(BACKBUFFER2);
  BACKBUFFER2 = nullptr;
}

void reset_render_state() {
  SCR_W = 640;
  SCR_H = 480;
  SCR_W2 = SCR_W / 2;
  SCR_H2 = SCR_H / 2;
  ZNEAR = 2.0f;
  ZFAR = 500.0f;
  FOV = 60.0f;
}

namespace {
// Zeroes SIZE bytes at START in bands, one per drawing thread, but none under
// a mebibyte: a smaller clear is over before another thread could help.
void clear_in_bands(void* start, size_t size) {
  constexpr size_t LEAST_BAND = size_t(1) << 20;
  const int32_t bands =
      int32_t(std::clamp<size_t>(size / LEAST_BAND, 1, size_t(draw_threads())));
  uint8_t* bytes = static_cast<uint8_t*>(start);
  for_each_band(bands, [&](int32_t band) {
    // Bands of whole 64-byte lines, so that no two threads write one line.
    const size_t lines = (size + 63) / 64;
    const size_t first = std::min(size, lines * size_t(band) / size_t(bands) * 64);
    const size_t end = std::min(size, lines * size_t(band + 1) / size_t(bands) * 64);
    std::memset(bytes + first, 0, end - first);
  });
}
}  // namespace

void clear_depth_buffer() {
  if (ZBUFF) clear_in_bands(ZBUFF, size_t(BUFFSIZE) * sizeof(float));
}

void clear_back_buffer() {
  if (BACKBUFFER) clear_in_bands(BACKBUFFER->pixels(), size_t(BACKBUFFER->PITCH) * BACKBUFFER->HEIGHT);
}
