#include "pass6_texture_coords.h"

#include <cstring>

void refresh_ntcoord(MODEL_STRUCT& model, uint32_t first, uint32_t last) {
  for (uint32_t i = first; i < last; ++i) {
    TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    if (t.CULLED == -1) continue;
    // Written only when they differ: after the first call they seldom do, and
    // a record left unwritten stays clean in the cache.
    if (std::memcmp(&t.NTCOORD, &t.TCOORD, sizeof t.TCOORD) != 0) t.NTCOORD = t.TCOORD;
  }
}
