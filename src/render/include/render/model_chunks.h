// A large model cut into chunks for the model transform: runs of consecutive
// triangles whose corners lie close together, each with its bounding box and
// the vertices it uses. The transform skips a chunk whose box lies wholly
// outside the view volume before any of its vertices is transformed. Chunks
// keep the triangles' stored order, so the queue is filled in the same order
// as for the whole model.
#pragma once
#include <cstdint>
#include <vector>

#include "math/vec.h"
#include "model/model.h"

struct ModelChunk {
  uint32_t first_triangle, last_triangle;  // triangles first to last - 1
  uint32_t first_vertex, last_vertex;      // ModelChunks::vertex_ids first to last - 1
  NMATHF::VEC3F low, high;                 // the box of its corners, model space
  bool bounded;                            // false: a corner is not finite, never skipped
};

struct ModelChunks {
  std::vector<ModelChunk> chunks;   // in triangle order, covering every triangle
  std::vector<uint32_t> vertex_ids; // each chunk's vertices, once per chunk
  // Per triangle, its three corners' places in its chunk's vertex list
  // (NO_CORNER for a corner the model does not have); empty for one chunk.
  std::vector<uint16_t> corner_slots;
  // Per chunk, 1 once every triangle's NTCOORD equals its TCOORD: from then
  // on a frame that skips the chunk leaves the next frames' texture
  // coordinates as carrying it would. The chunked transform keeps it.
  std::vector<uint8_t> settled;
  uint32_t triangles = 0;           // the model's MAX_TRIANGLES when they were made
  uint32_t vertices = 0;            // and its MAX_VERTICES
};

// The most triangles of one chunk.
constexpr uint32_t CHUNK_TRIANGLES = 256;
// A corner slot that names no vertex; a chunk lists at most 3 x 256 vertices.
constexpr uint16_t NO_CORNER = UINT16_MAX;
static_assert(3 * CHUNK_TRIANGLES < NO_CORNER);

// Cuts MODEL into chunks: a chunk ends after CHUNK_TRIANGLES triangles or
// before a triangle that would stretch its box beyond a sixteenth of the
// model's largest side (an eighth, a quarter when that leaves chunks of fewer
// than 32 triangles on average, or vertices listed by chunks half as often
// again as the model has them; one chunk when that still does). Corners a triangle names beyond the model's vertices
// are left out of the box and the vertex list (the transform culls such a
// triangle).
ModelChunks make_model_chunks(const MODEL_STRUCT& model);

// True when every triangle of CHUNK has its NTCOORD equal to its TCOORD.
bool texture_coords_settled(const MODEL_STRUCT& model, const ModelChunk& chunk);

// The runs themselves, no wider than REACH (make_model_chunks picks it).
ModelChunks chunks_within(const MODEL_STRUCT& model, float reach);
