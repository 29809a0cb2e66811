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
// The same pairs come from one walk in index order, because each edge is
// paired on its own: the triangles that have an edge pair up as first and
// second, third and fourth, and so on. A hash of vertex pairs holds, for each
// edge, the triangle that waits for its partner; the partner's arrival pairs
// the two and takes the edge out. The table holds only waiting edges, so it
// stays small for a mesh read in any sensible order, and grows as needed.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "model/model.h"
#include "obj_reader.h"

namespace {

struct Free {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using Buffer = std::unique_ptr<T[], Free>;

template <class T>
Buffer<T> allocate(uint64_t count) {
  Buffer<T> buffer;
  if (count <= SIZE_MAX / sizeof(T)) buffer.reset(static_cast<T*>(std::malloc(size_t(count) * sizeof(T))));
  if (!buffer) throw std::bad_alloc();
  return buffer;
}

// Edge K (0-based) of a triangle as its vertex pair (smaller, larger), packed.
uint64_t edge_key(const uint32_t* corner, int k) {
  const uint32_t a = corner[k];
  const uint32_t b = corner[k == 2 ? 0 : k + 1];
  return a < b ? (uint64_t(a) << 32 | b) : (uint64_t(b) << 32 | a);
}

// Edge -> the triangle waiting on it: open addressing with linear probing, at
// most half full, doubled when it would be more. A slot keeps its key and
// triangle side by side, so that a probe reads one cache line.
class WaitingEdges {
 public:
  static constexpr uint32_t NONE = UINT32_MAX;

  WaitingEdges() { make(10); }

  // The triangle waiting on KEY, or NONE.
  uint32_t find(uint64_t key) const { return slots_[slot(key)].triangle; }

  // Asks for KEY's first slot to be fetched ahead of its use.
  void prefetch(uint64_t key) const { __builtin_prefetch(&slots_[home(key)]); }

  void add(uint64_t key, uint32_t triangle) {
    if (2 * (count_ + 1) > capacity()) grow();
    slots_[slot(key)] = Slot{key, triangle};
    ++count_;
  }

  // Takes KEY, which is there, out; the entries after it move up so that
  // every probe still finds its key before an empty slot.
  void remove(uint64_t key) {
    const uint64_t mask = capacity() - 1;
    uint64_t hole = slot(key);
    for (uint64_t s = (hole + 1) & mask; slots_[s].triangle != NONE; s = (s + 1) & mask) {
      // The entry at S may fill the hole when the hole lies on its probe path.
      if (((s - home(slots_[s].key)) & mask) < ((s - hole) & mask)) continue;
      slots_[hole] = slots_[s];
      hole = s;
    }
    slots_[hole].triangle = NONE;
    --count_;
  }

 private:
  struct Slot {
    uint64_t key;
    uint32_t triangle;  // NONE: empty
  };

  uint64_t capacity() const { return uint64_t(1) << bits_; }
  uint64_t home(uint64_t key) const { return (key * 0x9E3779B97F4A7C15u) >> (64 - bits_); }

  // KEY's slot, or the empty slot where it would go.
  uint64_t slot(uint64_t key) const {
    const uint64_t mask = capacity() - 1;
    uint64_t s = home(key);
    while (slots_[s].triangle != NONE && slots_[s].key != key) s = (s + 1) & mask;
    return s;
  }

  void make(int bits) {
    bits_ = bits;
    slots_ = allocate<Slot>(capacity());
    for (uint64_t i = 0; i < capacity(); ++i) slots_[i] = Slot{0, NONE};
  }

  void grow() {
    const uint64_t old_capacity = capacity();
    Buffer<Slot> old = std::move(slots_);
    make(bits_ + 1);
    for (uint64_t i = 0; i < old_capacity; ++i)
      if (old[i].triangle != NONE) slots_[slot(old[i].key)] = old[i];
  }

  int bits_ = 0;
  uint64_t count_ = 0;
  Buffer<Slot> slots_;
};

}  // namespace

namespace {

// The walk; throws std::bad_alloc when the table cannot grow.
void pair_edges(MODEL_STRUCT& m) {
  const uint32_t n = m.MAX_TRIANGLES;
  if (n == 0) return;

  // A triangle's connections are cleared when the walk comes to it: until
  // then nothing writes them.
  WaitingEdges waiting;
  for (uint32_t t = 0; t < n; ++t) {
    const uint32_t* corner = m.TRIANGLES[t].POINT_ID.data();
    int32_t* con = m.TRIANGLES[t].CON.data();
    con[0] = con[1] = con[2] = 0;
    // The next triangle's slots are on their way while this one is paired.
    if (t + 1 < n) {
      const uint32_t* next = m.TRIANGLES[t + 1].POINT_ID.data();
      for (int e = 0; e < 3; ++e) waiting.prefetch(edge_key(next, e));
    }
    for (int e = 0; e < 3; ++e) {
      // Already paired through an earlier edge of this triangle with the same key.
      if (con[e] != 0) continue;
      const uint64_t key = edge_key(corner, e);
      const uint32_t f = waiting.find(key);
      if (f == t) continue;  // the same edge twice: it waits on the first
      if (f == WaitingEdges::NONE) {
        waiting.add(key, t);
        continue;
      }
      // F's edges of this key name T, and T's name F.
      waiting.remove(key);
      const uint32_t* corner_f = m.TRIANGLES[f].POINT_ID.data();
      int32_t* con_f = m.TRIANGLES[f].CON.data();
      for (int k = 0; k < 3; ++k) {
        if (edge_key(corner_f, k) == key) con_f[k] = int32_t(t + 1);
        if (edge_key(corner, k) == key) con[k] = int32_t(f + 1);
      }
    }
  }
}

}  // namespace

bool connect_edges(MODEL_STRUCT& model) {
  try {
    pair_edges(model);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void SET_POLY_NEIGHBORS(MODEL_STRUCT*& model) {
  if (!model) RUNTIME_FAIL(ERR_NULL_POINTER, "SET_POLY_NEIGHBORS");
  if (model->MAX_TRIANGLES > 0 && !model->TRIANGLES) RUNTIME_FAIL(ERR_NULL_POINTER, "SET_POLY_NEIGHBORS");
  if (!connect_edges(*model)) RUNTIME_FAIL(ERR_OUT_OF_MEMORY, "SET_POLY_NEIGHBORS");
}
