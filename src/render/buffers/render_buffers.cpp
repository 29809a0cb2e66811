#include "render/render_buffers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "render/draw_workers.h"
#include "render/render_globals.h"

namespace {
// Half a size, rounded up: the last column or row of an odd size still has a
// pixel of its own in a half-size buffer.
int32_t half_up(int32_t n) {
  return n - n / 2;
}

float ratio(int32_t w, int32_t h) {
  return float(double(w) / double(h));
}
}  // namespace

int32_t INIT_BUFFERS() {
  int32_t new_w, new_h;
  if (ISCALE && !ANTI_ALIAS) {  // half size, doubled onto the screen
    new_w = half_up(SCR_W);
    new_h = half_up(SCR_H);
  } else if (!ISCALE && ANTI_ALIAS) {  // twice the size, averaged onto the screen
    new_w = 2 * SCR_W;
    new_h = 2 * SCR_H;
  } else if (ISCALE) {  // averaged to half size and doubled back: whole 2 x 2 blocks
    new_w = 2 * half_up(SCR_W);
    new_h = 2 * half_up(SCR_H);
  } else {  // screen size, copied
    new_w = SCR_W;
    new_h = SCR_H;
  }
  // The viewport is the buffer: its shape is the projection's aspect.
  BUFFW = new_w;
  BUFFH = new_h;
  ASPECT = ratio(BUFFW, BUFFH);
  TSCRW = BUFFW / 2;
  TSCRH = BUFFH / 2;
  TOP = BUFFH;

  if (BACKBUFFER) image_destroy(BACKBUFFER);
  BACKBUFFER = image_create(new_w, new_h);
  if (ISCALE && ANTI_ALIAS) {
    if (BACKBUFFER2) image_destroy(BACKBUFFER2);
    BACKBUFFER2 = image_create(half_up(SCR_W), half_up(SCR_H));
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

void set_screen_size(int32_t width, int32_t height) {
  SCR_W = width;
  SCR_H = height;
  SCR_W2 = SCR_W / 2;
  SCR_H2 = SCR_H / 2;
}

void reset_render_state() {
  set_screen_size(640, 480);
  ZNEAR = 2.0f;
  ZFAR = 500.0f;
  FOV = 60.0f;
}

namespace {
// Zeroes ROWS rows of ROW_BYTES bytes at START, in the bands of rows of a
// frame WIDTH pixels wide, so that each band is cleared by the thread that
// then draws it.
void clear_in_bands(DrawWorkers& workers, void* start, int32_t width, int32_t rows,
                    size_t row_bytes) {
  const int32_t bands = workers.frame_bands(width, rows);
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
  clear_in_bands(renderer.workers(), ZBUFF, width, BUFFSIZE / width,
                 size_t(width) * sizeof(float));
  const int32_t rest = BUFFSIZE % width;
  std::memset(ZBUFF + (BUFFSIZE - rest), 0, size_t(rest) * sizeof(float));
}

void clear_back_buffer(Renderer& renderer) {
  if (BACKBUFFER)
    clear_in_bands(renderer.workers(), BACKBUFFER->pixels(), int32_t(BACKBUFFER->WIDTH),
                   int32_t(BACKBUFFER->HEIGHT), BACKBUFFER->PITCH);
}

void clear_depth_buffer() {
  clear_depth_buffer(default_renderer());
}

void clear_back_buffer() {
  clear_back_buffer(default_renderer());
}
