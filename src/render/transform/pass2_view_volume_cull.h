// The second pass of the model transform: whole triangles outside the view
// volume.
#pragma once
#include <cstdint>
#include <vector>

#include "model/model.h"

// Sets every triangle's CULLED (-1 when all three clip-space corners lie
// outside one plane of the view volume: wholly nearer than NEAR_W, or wholly
// left, right, below or above) and notes in DRAWN (one TriangleFate per
// triangle) which are kept, and which of those the near plane cuts. A
// triangle that names a vertex the model does not have is culled rather than
// read out of bounds.
void cull_to_view_volume(MODEL_STRUCT& model, float near_w, std::vector<uint8_t>& drawn);
