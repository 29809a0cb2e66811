// The scene: the maze at the origin and fifty cubes and UFOs spinning around it,
// the light, and the frame's view of them.
#pragma once
#include <cstdint>

#include "app/maze_materials.h"
#include "app/player.h"
#include "math/nmathf.h"
#include "model/model.h"
#include "base/image.h"
#include "render/model_chunks.h"
#include "render/renderer.h"

// One placed model: the maze (entity 0) or a cube or UFO spinning in place.
struct ENTITY_STRUCT {
  NMATHF::VEC3F POSITION;
  NMATHF::VEC3F ROTATION;  // degrees about X, Y and Z
  MODEL_STRUCT* MODEL = nullptr;
};

constexpr int32_t ENTITY_COUNT = 51;
constexpr int32_t MODEL_COUNT = 3;

struct Scene {
  MODEL_STRUCT* MODELS = nullptr;  // 0 maze, 1 cube, 2 UFO
  IMAGE* TEXTURES[MODEL_COUNT] = {};
  MazeMaterials maze;              // the maze's materials, when its file has any
  ModelChunks maze_chunks;         // the maze cut into chunks, made once it is loaded
  ENTITY_STRUCT ENTITY[ENTITY_COUNT];
  NMATHF::VEC3F LIGHT{25.0f, 50.0f, 25.0f};
  NMATHF::MATRIX LMATRIX{0.0f};    // the frame's view matrix
  NMATHF::MATRIX TEMPMATRIX{0.0f}, TMATRIX{0.0f};
  NMATHF::VEC3F TLIGHT;            // the light in view space
  int32_t FCNT = 0;                // entries in the render queue
  int32_t TRIS_RENDERED = 0;       // the status line's count
};

// Binds each model's texture, scales its texture coordinates to texels and gives
// every triangle a random colour. A maze triangle of a material takes the
// material's texture, or, for a material with a colour and no texture, that
// colour and flat drawing (USE_TEX = FLAT_MATERIAL); the random colours are
// drawn for every triangle all the same.
void prepare_models(Scene& scene);
// Puts the maze at the origin and fifty random cubes and UFOs around it.
void place_entities(Scene& scene);
// The frame's view matrix from the player's camera, and the light in view space.
void build_view(const Player& player, Scene& scene);
// Hands every entity to the model transform of RENDERER (the maze in its
// chunks, out-of-view ones skipped), then advances its spin by FRAME_TIME
// (zero or negative).
void submit_entities(Renderer& renderer, Scene& scene, double frame_time);
