// Edge connections: each triangle's edges paired with the triangles that share
// them, compared by vertex index.
//
// The pairing is the one a scan of every later triangle for every free edge
// gives. Triangle F, in index order, takes on each edge still free (0) the
// first later triangle T that has the same edge, and every edge of T equal to
// it names F, overwriting what it held. So an edge of two triangles connects
// both ways, an edge of more pairs them up in index order (the odd one out
// keeps 0), and a border edge keeps 0.
//
// "The first later triangle with this edge" comes from a hash of vertex pairs
// filled walking the triangles backwards: before triangle F enters the table,
// the table holds for each edge the lowest triangle above F that has it.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "model/model.h"

namespace {

constexpr uint32_t NONE = UINT32_MAX;

struct Free {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using Buffer = std::unique_ptr<T[], Free>;

template <class T>
Buffer<T> allocate(uint64_t count) {
  Buffer<T> buffer;
  if (count <= SIZE_MAX / sizeof(T)) buffer.reset(static_cast<T*>(std::malloc(size_t(count) * sizeof(T))));
  if (!buffer) RUNTIME_FAIL(ERR_OUT_OF_MEMORY, "SET_POLY_NEIGHBORS");
  return buffer;
}

// Edge K (0-based) of a triangle as its vertex pair (smaller, larger), packed.
uint64_t edge_key(const uint32_t* corner, int k) {
  const uint32_t a = corner[k];
  const uint32_t b = corner[k == 2 ? 0 : k + 1];
  return a < b ? (uint64_t(a) << 32 | b) : (uint64_t(b) << 32 | a);
}

// Edge -> triangle, open addressing with linear probing, at most half full.
class EdgeTable {
 public:
  explicit EdgeTable(uint64_t edges) {
    while ((uint64_t(1) << bits_) < 2 * edges) ++bits_;
    const uint64_t slots = uint64_t(1) << bits_;
    keys_ = allocate<uint64_t>(slots);
    triangles_ = allocate<uint32_t>(slots);
    for (uint64_t i = 0; i < slots; ++i) triangles_[i] = NONE;
  }

  // The triangle stored for KEY, or NONE.
  uint32_t find(uint64_t key) const { return triangles_[slot(key)]; }
  void set(uint64_t key, uint32_t triangle) {
    const uint64_t s = slot(key);
    keys_[s] = key;
    triangles_[s] = triangle;
  }

 private:
  // KEY's slot, or the empty slot where it would go.
  uint64_t slot(uint64_t key) const {
    const uint64_t mask = (uint64_t(1) << bits_) - 1;
    uint64_t s = (key * 0x9E3779B97F4A7C15u) >> (64 - bits_);
    while (triangles_[s] != NONE && keys_[s] != key) s = (s + 1) & mask;
    return s;
  }

  int bits_ = 4;
  Buffer<uint64_t> keys_;
  Buffer<uint32_t> triangles_;
};

}  // namespace

void SET_POLY_NEIGHBORS(MODEL_STRUCT*& model) {
  if (!model) RUNTIME_FAIL(ERR_NULL_POINTER, "SET_POLY_NEIGHBORS");
  MODEL_STRUCT& m = *model;
  const uint32_t n = m.MAX_TRIANGLES;
  if (n > 0 && !m.TRIANGLES) RUNTIME_FAIL(ERR_NULL_POINTER, "SET_POLY_NEIGHBORS");
  for (uint32_t i = 0; i < n; ++i) {
    int32_t* con = m.TRIANGLES[i].CON.data();
    con[0] = con[1] = con[2] = 0;
  }
  if (n < 2) return;

  // next[3 F + E]: the first triangle after F that has edge E of F.
  Buffer<uint32_t> next = allocate<uint32_t>(3 * uint64_t(n));
  {
    EdgeTable table(3 * uint64_t(n));
    for (uint32_t f = n; f-- > 0;) {
      const uint32_t* corner = m.TRIANGLES[f].POINT_ID.data();
      const uint64_t key[3] = {edge_key(corner, 0), edge_key(corner, 1), edge_key(corner, 2)};
      for (int e = 0; e < 3; ++e) next[3 * uint64_t(f) + e] = table.find(key[e]);
      for (int e = 0; e < 3; ++e) table.set(key[e], f);
    }
  }

  for (uint32_t f = 0; f < n; ++f) {
    const uint32_t* corner = m.TRIANGLES[f].POINT_ID.data();
    int32_t* con = m.TRIANGLES[f].CON.data();
    for (int e = 0; e < 3; ++e) {
      const uint32_t t = next[3 * uint64_t(f) + e];
      if (con[e] != 0 || t == NONE) continue;
      con[e] = int32_t(t + 1);
      const uint64_t key = edge_key(corner, e);
      const uint32_t* corner2 = m.TRIANGLES[t].POINT_ID.data();
      int32_t* con2 = m.TRIANGLES[t].CON.data();
      for (int e2 = 0; e2 < 3; ++e2)
        if (edge_key(corner2, e2) == key) con2[e2] = int32_t(f + 1);
    }
  }
}
