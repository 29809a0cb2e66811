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

void set_far_plane(float zfar) {
  ZFAR = zfar;
  PROJECTION_MATRIX = NMATHF::MATRIX(0.0f);
  PROJECTION_MATRIX.PERSPECTIVE(FOV, ASPECT, ZNEAR, ZFAR);
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
// Zeroes ROWS rows of ROW_BYTES bytes at START, in the frame's bands of rows,
// so that each band is cleared by the thread that then draws it.
void clear_in_bands(DrawWorkers& workers, void* start, int32_t rows, size_t row_bytes) {
  const int32_t bands = workers.frame_bands();
  uint8_t* bytes = static_cast<uint8_t*>(start);
  workers.for_each_row_band(rows, bands, [&](int32_t first, int32_t end) {
    std::memset(bytes + size_t(first) * row_bytes, 0, size_t(end - first) * row_bytes);
  });
}
}  // namespace

void clear_depth_buffer(Renderer& renderer) {
  if (!ZBUFF || BUFFSIZE <= 0) return;
  // Rows of BUFFW entries, and whatever is left of BUFFSIZE after the last whole row.
  const int32_t width = std::max(BUFFW, int32_t(1));
  clear_in_bands(renderer.workers(), ZBUFF, BUFFSIZE / width, size_t(width) * sizeof(float));
  const int32_t rest = BUFFSIZE % width;
  std::memset(ZBUFF + (BUFFSIZE - rest), 0, size_t(rest) * sizeof(float));
}

void clear_back_buffer(Renderer& renderer) {
  if (BACKBUFFER)
    clear_in_bands(renderer.workers(), BACKBUFFER->pixels(), int32_t(BACKBUFFER->HEIGHT),
                   BACKBUFFER->PITCH);
}

void clear_depth_buffer() {
  clear_depth_buffer(default_renderer());
}

void clear_back_buffer() {
  clear_back_buffer(default_renderer());
}
