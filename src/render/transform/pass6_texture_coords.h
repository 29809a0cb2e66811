// The last pass of the model transform: the texture coordinates the next call
// queues.
#pragma once
#include "model/model.h"

// Every triangle not culled this call copies TCOORD to NTCOORD.
void refresh_ntcoord(MODEL_STRUCT& model);
