#include "pass4_projection.h"

void project_vertices(MODEL_STRUCT& model, const Viewport& vp) {
  for (uint32_t i = 0; i < model.MAX_RVERTS; ++i)
    model.PVERTICES[i] = project_to_screen(vp, model.RVERTICES[i]);
}
