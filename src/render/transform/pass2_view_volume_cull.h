// The second pass of the model transform: whole triangles outside the view
// volume.
#pragma once
#include <cstdint>
#include <vector>

#include "model/model.h"

// Sets the CULLED of triangles FIRST to LAST - 1 (-1 when all three
// clip-space corners lie outside one plane of the view volume: wholly nearer
// than NEAR_W, or wholly left, right, below or above) and notes in DRAWN (one TriangleFate per
// triangle) which are kept, and which of those the near plane cuts. A
// triangle that names a vertex the model does not have is culled rather than
// read out of bounds.
// DRAWN holds an entry for every triangle of the model.
void cull_to_view_volume(MODEL_STRUCT& model, float near_w, uint32_t first, uint32_t last,
                         std::vector<uint8_t>& drawn);
