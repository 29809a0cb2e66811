// Model records: a triangle mesh read from an OBJ file, its per-frame working
// copies, and the reader and release routines.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "base/checked_array.h"
#include "base/image.h"
#include "math/vec.h"

// A face colour: 0 to 255 in the model files.
struct RGB_STRUCT {
  uint32_t R;
  uint32_t G;
  uint32_t B;
};

// One triangle. The corner arrays and their companions count from 1 to 3.
struct TRIANGLE_STRUCT {
  IMAGE* TEXTURE;                      // null after loading
  int32_t USE_TEX;                     // 0 after loading
  Bounded<uint32_t, 1, 3> POINT_ID;    // 0-based indices into VERTICES
  Bounded<NMATHF::VEC2F, 1, 3> TCOORD; // texture coordinate per corner, v flipped
  Bounded<NMATHF::VEC2F, 1, 3> NTCOORD;
  Bounded<uint32_t, 1, 3> NEIGHBOR;    // never written
  Bounded<int32_t, 1, 3> CON;          // edge k (corner k to k mod 3 + 1): index + 1 of the
                                       // triangle sharing it, 0 for none
  int32_t CULLED;
  RGB_STRUCT COL;
  NMATHF::VEC3F NORMAL;                // unit face normal, zero for a triangle without area
  NMATHF::VEC3F TNORMAL;
  NMATHF::VEC4F PLANE;                 // un-normalized normal and distance term
  NMATHF::VEC3F MIDPOINT;
};

// A loaded model. The caller owns the record and zero-fills it before LOAD_OBJ;
// the record owns the six arrays, which only UNLOAD_OBJ releases. The R and P
// copies have room for twice the entries of the arrays they copy.
struct MODEL_STRUCT {
  uint32_t MAX_VERTICES;
  uint32_t MAX_TRIANGLES;
  uint32_t MAX_RVERTS;
  uint32_t MAX_RTRIS;
  NMATHF::VEC3F* VERTICES;
  NMATHF::VEC4F* RVERTICES;
  NMATHF::VEC4F* TVERTICES;
  NMATHF::VEC3F* PVERTICES;
  NMATHF::VEC3F* TNORMALS;             // never allocated
  TRIANGLE_STRUCT* TRIANGLES;
  TRIANGLE_STRUCT* RTRIANGLES;
};

// Zero-filled memory (calloc) must hold valid records, and copies are plain copies.
static_assert(std::is_trivially_copyable_v<TRIANGLE_STRUCT>);
static_assert(std::is_trivially_destructible_v<TRIANGLE_STRUCT>);
static_assert(std::is_trivially_copyable_v<MODEL_STRUCT>);
static_assert(std::is_trivially_destructible_v<MODEL_STRUCT>);

// A triangle's USE_TEX: 0 after loading, when the model transform's texture
// switch decides; FLAT_MATERIAL for a triangle of a material without a
// texture, which is queued flat whatever the switch says.
constexpr int32_t FLAT_MATERIAL = 1;

// The largest vertex or face count a model file may declare: twice it still
// indexes every array with a signed 32-bit integer.
constexpr uint32_t MAX_MODEL_COUNT = 0x3FFFFFFF;

// Reads the OBJ subset of FILENAME into the caller's zero-filled record, then
// derives planes, normals and edge connections. A file that cannot be opened,
// a failed close, a bad header count and any line that would index outside the
// arrays stop the program with a failure report; a file without faces loads
// with 0 triangles.
void LOAD_OBJ(const std::string& filename, MODEL_STRUCT*& model);

// A material of an ordinary OBJ file's library (.mtl).
struct ObjMaterial {
  std::string name;
  bool has_colour = false;      // a "Kd" line
  RGB_STRUCT colour{0, 0, 0};   // Kd, 0 to 255 a channel
  std::string texture;          // map_Kd: the file found or, when none is, the path looked for; empty: none
};

// What an ordinary OBJ file says of its materials.
struct ObjMaterials {
  std::vector<ObjMaterial> list;
  std::vector<int32_t> of_triangle;   // per triangle: an index into LIST, -1 for none
  std::vector<std::string> problems;  // one line each: a library not read, a name no library defines
};

// LOAD_OBJ that also reads the material libraries ("mtllib") of an ordinary
// OBJ file and the material ("usemtl") of each triangle into MATERIALS. A
// missing library or material is noted in MATERIALS.problems, never a failure.
void LOAD_OBJ(const std::string& filename, MODEL_STRUCT*& model, ObjMaterials& materials);

// Work that needs the loaded model but not its edge connections, done by
// LOAD_OBJ on this thread while a second one finds the connections. It may
// change the vertices and the triangles' fields but POINT_ID (which the search
// reads) and CON (which it writes); the counts and arrays stay as they are.
using BesideNeighborSearch = std::function<void(MODEL_STRUCT& model)>;

// LOAD_OBJ with MATERIALS that runs BESIDE, once planes and normals are made,
// at the same time as SET_POLY_NEIGHBORS, and returns when both are done. A
// failure of either is reported as it would be alone.
void LOAD_OBJ(const std::string& filename, MODEL_STRUCT*& model, ObjMaterials& materials,
              const BesideNeighborSearch& beside);

// Sets both counts to 0 and releases the six arrays, leaving their pointers null.
// The record itself stays the caller's.
void UNLOAD_OBJ(MODEL_STRUCT*& model);

// Derived geometry, run once by LOAD_OBJ in this order.
void CALC_PLANES(MODEL_STRUCT*& model);
void CALC_NORMALS(MODEL_STRUCT*& model);
void SET_POLY_NEIGHBORS(MODEL_STRUCT*& model);
