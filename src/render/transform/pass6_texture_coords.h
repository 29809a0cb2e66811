// The last pass of the model transform: the texture coordinates the next call
// queues.
#pragma once
#include "model/model.h"

// Every triangle among FIRST to LAST - 1 not culled this call copies TCOORD to
// NTCOORD.
void refresh_ntcoord(MODEL_STRUCT& model, uint32_t first, uint32_t last);
