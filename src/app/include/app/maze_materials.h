// The materials of a maze of the user's own: each texture file loaded once,
// a checker in place of one that cannot be read.
#pragma once
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "model/model.h"
#include "base/image.h"

struct MazeMaterials {
  ObjMaterials materials;                 // as the model file and its libraries say
  std::vector<IMAGE*> texture_of;         // per material: its texture, null for none
  std::vector<IMAGE*> owned;              // every image made here, each once

  MazeMaterials() = default;
  MazeMaterials(const MazeMaterials&) = delete;
  MazeMaterials& operator=(const MazeMaterials&) = delete;
  MazeMaterials(MazeMaterials&& other) noexcept { *this = std::move(other); }
  MazeMaterials& operator=(MazeMaterials&& other) noexcept;
  ~MazeMaterials() { release(); }
  // Destroys the images; the materials stay as they were read.
  void release();
};

// The side of the checker that stands in for a texture that cannot be read.
constexpr int32_t CHECKER_SIDE = 64;

// Loads the texture of every material of MAZE.materials, each file once. One
// that cannot be read gets the checker, and one line to WARNINGS that names
// it; so does each of the materials' problems. Never a failure.
void load_material_textures(MazeMaterials& maze, std::FILE* warnings);

// True for a material with a colour (Kd) and no texture: its triangles are
// drawn flat in that colour.
bool is_flat_material(const MazeMaterials& maze, int32_t material);
