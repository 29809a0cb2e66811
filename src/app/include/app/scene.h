// The scene: the maze at the origin and fifty cubes and UFOs spinning around it.
#pragma once
#include "app/app_state.h"

// Binds each model's texture, scales its texture coordinates to texels and gives
// every triangle a random colour.
void prepare_models(AppState& s);
// Puts the maze at the origin and fifty random cubes and UFOs around it.
void place_entities(AppState& s);
// Hands every entity to the model transform, then advances its spin.
void submit_entities(AppState& s);
