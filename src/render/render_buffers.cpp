#include "render/render_buffers.h"

#include <cmath>
#include <cstdlib>

#include "render/render_globals.h"

namespace {
// A size divided by 2 in double and taken to the nearest integer, halves to even.
int32_t HALF_NEAREST(int32_t N) {
  return int32_t(std::nearbyint(double(N) / 2.0));
}

float RATIO(int32_t W, int32_t H) {
  return float(double(W) / double(H));
}
}  // namespace

int32_t INIT_BUFFERS() {
  int32_t NEW_W, NEW_H;
  if (ISCALE && !ANTI_ALIAS) {  // half size, doubled onto the screen
    ASPECT = RATIO(SCR_W / 2, SCR_H / 2);
    TSCRW = SCR_W2 / 2;
    TSCRH = SCR_H2 / 2;
    TOP = SCR_H / 2;
    BUFFW = SCR_W2;
    BUFFH = SCR_H2;
    NEW_W = HALF_NEAREST(SCR_W);
    NEW_H = HALF_NEAREST(SCR_H);
  } else if (!ISCALE && ANTI_ALIAS) {  // twice the size, averaged onto the screen
    ASPECT = RATIO(2 * SCR_W, 2 * SCR_H);
    TSCRW = 2 * SCR_W2;
    TSCRH = 2 * SCR_H2;
    TOP = 2 * SCR_H;
    BUFFW = NEW_W = 2 * SCR_W;
    BUFFH = NEW_H = 2 * SCR_H;
  } else {  // screen size: copied, or averaged to half size and doubled back
    ASPECT = RATIO(SCR_W, SCR_H);
    TSCRW = SCR_W2;
    TSCRH = SCR_H2;
    TOP = SCR_H;
    BUFFW = NEW_W = SCR_W;
    BUFFH = NEW_H = SCR_H;
  }

  if (BACKBUFFER) IMAGE_DESTROY(BACKBUFFER);
  BACKBUFFER = IMAGE_CREATE(NEW_W, NEW_H);
  if (ISCALE && ANTI_ALIAS) {
    if (BACKBUFFER2) IMAGE_DESTROY(BACKBUFFER2);
    BACKBUFFER2 = IMAGE_CREATE(HALF_NEAREST(SCR_W), HALF_NEAREST(SCR_H));
  }
  BUFFSIZE = BUFFW * BUFFH;
  if (ZBUFF) std::free(ZBUFF);
  ZBUFF = static_cast<float*>(std::calloc(size_t(BUFFSIZE), sizeof(float)));

  PROJECTION_MATRIX = NMATHF::MATRIX(0.0f);
  PROJECTION_MATRIX.PERSPECTIVE(FOV, ASPECT, ZNEAR, ZFAR);
  return 1;
}

void FREE_BUFFERS() {
  if (ZBUFF) std::free(ZBUFF);
  ZBUFF = nullptr;
  if (BACKBUFFER) IMAGE_DESTROY(BACKBUFFER);
  BACKBUFFER = nullptr;
  if (BACKBUFFER2) IMAGE_DESTROY(BACKBUFFER2);
  BACKBUFFER2 = nullptr;
}
