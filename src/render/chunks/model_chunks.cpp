#include "render/model_chunks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using NMATHF::VEC3F;

namespace {
bool finite(const VEC3F& p) {
  return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z);
}

VEC3F lower(const VEC3F& a, const VEC3F& b) {
  return VEC3F(std::min(a.X, b.X), std::min(a.Y, b.Y), std::min(a.Z, b.Z));
}
VEC3F upper(const VEC3F& a, const VEC3F& b) {
  return VEC3F(std::max(a.X, b.X), std::max(a.Y, b.Y), std::max(a.Z, b.Z));
}
float largest_side(const VEC3F& low, const VEC3F& high) {
  return std::max({high.X - low.X, high.Y - low.Y, high.Z - low.Z});
}

// Fewer triangles than this in a chunk on average (or vertices listed by
// chunks half as often again as the model has), and the chunks cost more
// (vertices carried once per chunk that uses them, a test per chunk) than
// skipping them saves.
constexpr uint32_t MIN_CHUNK_TRIANGLES = 32;

// The largest side of the box of every finite vertex.
float model_size(const MODEL_STRUCT& model) {
  VEC3F low(INFINITY, INFINITY, INFINITY), high(-INFINITY, -INFINITY, -INFINITY);
  for (uint32_t i = 0; i < model.MAX_VERTICES; ++i) {
    const VEC3F& p = model.VERTICES[i];
    if (!finite(p)) continue;
    low = lower(low, p);
    high = upper(high, p);
  }
  return low.X <= high.X ? largest_side(low, high) : 0.0f;
}

// Its vertices in ascending order, so the transform walks the arrays forwards,
// and each corner's place among them.
void close_chunk(const MODEL_STRUCT& model, ModelChunks& out, const ModelChunk& chunk) {
  const auto first = out.vertex_ids.begin() + chunk.first_vertex;
  const auto last = out.vertex_ids.begin() + chunk.last_vertex;
  std::sort(first, last);
  for (uint32_t i = chunk.first_triangle; i < chunk.last_triangle; ++i)
    for (int k = 1; k <= 3; ++k) {
      const uint32_t id = model.TRIANGLES[i].POINT_ID(k);
      out.corner_slots[3 * size_t(i) + size_t(k - 1)] =
          id < model.MAX_VERTICES ? uint16_t(std::lower_bound(first, last, id) - first)
                                  : NO_CORNER;
    }
  out.chunks.push_back(chunk);
}
}  // namespace

bool texture_coords_settled(const MODEL_STRUCT& model, const ModelChunk& chunk) {
  for (uint32_t i = chunk.first_triangle; i < chunk.last_triangle; ++i) {
    const TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    if (std::memcmp(&t.NTCOORD, &t.TCOORD, sizeof t.TCOORD) != 0) return false;
  }
  return true;
}

// Chunks no wider than REACH.
ModelChunks chunks_within(const MODEL_STRUCT& model, float reach) {
  ModelChunks out;
  out.triangles = model.MAX_TRIANGLES;
  out.vertices = model.MAX_VERTICES;
  out.corner_slots.resize(3 * size_t(model.MAX_TRIANGLES));
  // The chunk that last listed each vertex, so a chunk lists it once.
  std::vector<uint32_t> listed_by(model.MAX_VERTICES, UINT32_MAX);

  ModelChunk chunk{};
  bool open = false;
  for (uint32_t i = 0; i < model.MAX_TRIANGLES; ++i) {
    const TRIANGLE_STRUCT& t = model.TRIANGLES[i];
    VEC3F low(INFINITY, INFINITY, INFINITY), high(-INFINITY, -INFINITY, -INFINITY);
    bool bounded = true;
    for (int k = 1; k <= 3; ++k) {
      const uint32_t id = t.POINT_ID(k);
      if (id >= model.MAX_VERTICES) continue;
      const VEC3F& p = model.VERTICES[id];
      bounded &= finite(p);
      low = lower(low, p);
      high = upper(high, p);
    }
    if (open) {
      const bool full = i - chunk.first_triangle >= CHUNK_TRIANGLES;
      const bool too_wide =
          largest_side(lower(chunk.low, low), upper(chunk.high, high)) > reach;
      if (full || too_wide) {
        close_chunk(model, out, chunk);
        open = false;
      }
    }
    if (!open) {
      const uint32_t first_vertex = uint32_t(out.vertex_ids.size());
      chunk = ModelChunk{i, i, first_vertex, first_vertex, low, high, true};
      open = true;
    }
    chunk.last_triangle = i + 1;
    chunk.low = lower(chunk.low, low);
    chunk.high = upper(chunk.high, high);
    chunk.bounded &= bounded;
    const uint32_t index = uint32_t(out.chunks.size());
    for (int k = 1; k <= 3; ++k) {
      const uint32_t id = t.POINT_ID(k);
      if (id >= model.MAX_VERTICES || listed_by[id] == index) continue;
      listed_by[id] = index;
      out.vertex_ids.push_back(id);
    }
    chunk.last_vertex = uint32_t(out.vertex_ids.size());
  }
  if (open) close_chunk(model, out, chunk);
  out.settled.resize(out.chunks.size());
  for (size_t c = 0; c < out.chunks.size(); ++c)
    out.settled[c] = texture_coords_settled(model, out.chunks[c]);
  return out;
}

ModelChunks make_model_chunks(const MODEL_STRUCT& model) {
  // Runs of stored triangles are compact when the file keeps neighbours
  // together; where it does not, the runs come out short, so they may reach
  // wider. A file in no useful order at all gets one chunk.
  const float size = model_size(model);
  for (float reach = size / 16.0f; reach > 0.0f && reach <= size / 4.0f; reach *= 2.0f) {
    ModelChunks out = chunks_within(model, reach);
    const bool long_runs = model.MAX_TRIANGLES / std::max<size_t>(out.chunks.size(), 1) >=
                           MIN_CHUNK_TRIANGLES;
    const bool few_shared = out.vertex_ids.size() <= model.MAX_VERTICES + model.MAX_VERTICES / 2;
    if (out.chunks.size() <= 1 || (long_runs && few_shared)) return out;
  }
  ModelChunks whole;
  whole.triangles = model.MAX_TRIANGLES;
  whole.vertices = model.MAX_VERTICES;
  whole.vertex_ids.resize(model.MAX_VERTICES);
  for (uint32_t i = 0; i < model.MAX_VERTICES; ++i) whole.vertex_ids[i] = i;
  const VEC3F everywhere(INFINITY, INFINITY, INFINITY);
  whole.chunks.push_back(
      ModelChunk{0, model.MAX_TRIANGLES, 0, model.MAX_VERTICES, -everywhere, everywhere, false});
  return whole;
}
