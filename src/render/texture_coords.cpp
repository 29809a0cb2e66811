#include "texture_coords.h"

void refresh_ntcoord(MODEL_STRUCT& model) {
  for (uint32_t i = 0; i < model.MAX_TRIANGLES; ++i) {
    TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    if (t.CULLED == -1) continue;
    for (int k = 1; k <= 3; ++k) t.NTCOORD(k) = t.TCOORD(k);
  }
}
