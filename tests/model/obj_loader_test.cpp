// Reading the OBJ subset: vertices, faces, texture coordinates, colours and the
// header counts, with the odd cases of the fixed columns and single blanks.
// platform/fail.h has its own FAIL; the test framework keeps GTEST_FAIL.
#define GTEST_DONT_DEFINE_FAIL 1
#include <gtest/gtest.h>

#include "model_files.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;

namespace {

class REMOVE_FILES_AT_END : public testing::Environment {
  void TearDown() override { REMOVE_MODEL_FILES(); }
};
[[maybe_unused]] testing::Environment* const CLEANUP =
    testing::AddGlobalTestEnvironment(new REMOVE_FILES_AT_END);

void EXPECT_VEC3(const VEC3F& V, float X, float Y, float Z) {
  EXPECT_EQ(V.X, X);
  EXPECT_EQ(V.Y, Y);
  EXPECT_EQ(V.Z, Z);
}

void EXPECT_VEC2(const VEC2F& V, float X, float Y) {
  EXPECT_EQ(V.X, X);
  EXPECT_EQ(V.Y, Y);
}

// N vertices at (I, 0, 0), so any three corners are a valid face.
std::string VERTEX_LINES(int N) {
  std::string TEXT = "# Vertices: " + std::to_string(N) + "\n";
  for (int I = 0; I < N; ++I) TEXT += "v " + std::to_string(I) + " 0 0\n";
  return TEXT;
}

}  // namespace

TEST(ObjLoader, VertexLinesTakeTheNumbersAfterTheFirstThreeBlanks) {
  LOADED_MODEL M(
      "# Vertices: 6\n"
      "v 1.5 -2 3e1\n"
      "v 1 2 3 1\n"
      "v 1 2\n"
      "v 1  2 3\n"    // two blanks: 2 is read twice and 3 falls off
      "v 1\t2 3\n"    // a tab is no separator
      "v 0.1 x 7\r\n" // a malformed number reads 0; CRLF line ends
  );
  ASSERT_EQ(M->MAX_VERTICES, 6u);
  EXPECT_VEC3(M.VERTEX(0), 1.5f, -2.0f, 30.0f);
  EXPECT_VEC3(M.VERTEX(1), 1.0f, 2.0f, 3.0f);
  EXPECT_VEC3(M.VERTEX(2), 1.0f, 2.0f, 0.0f);
  EXPECT_VEC3(M.VERTEX(3), 1.0f, 2.0f, 2.0f);
  EXPECT_VEC3(M.VERTEX(4), 1.0f, 3.0f, 0.0f);
  EXPECT_VEC3(M.VERTEX(5), 0.1f, 0.0f, 7.0f);
  EXPECT_EQ(M->MAX_TRIANGLES, 0u);
  EXPECT_EQ(M->TRIANGLES, nullptr);
}

TEST(ObjLoader, FacesTexturesAndColours) {
  LOADED_MODEL M(VERTEX_LINES(6) +
                 "# Faces: 4\n"
                 "vt 0.25 0\n"
                 "vt 0.5 0\n"
                 "vt 0.75 1\n"
                 "f 3/1/1 4/2/1 5/3/1\n"
                 "usemtl col_255_128_064\n"
                 "f 1 2 3\n"
                 "f 4 5 6\n"
                 "usemtl abcd12\n" // ends in column 13: green and blue read 0
                 "f 6 5 4\n");
  ASSERT_EQ(M->MAX_TRIANGLES, 4u);
  TRIANGLE_STRUCT& T0 = M.TRIANGLE(0);
  EXPECT_EQ(T0.POINT_ID(1), 2u);
  EXPECT_EQ(T0.POINT_ID(2), 3u);
  EXPECT_EQ(T0.POINT_ID(3), 4u);
  // The first vt line of a face fills corner 3; v is flipped.
  EXPECT_VEC2(T0.TCOORD(3), 0.25f, 1.0f);
  EXPECT_VEC2(T0.TCOORD(2), 0.5f, 1.0f);
  EXPECT_VEC2(T0.TCOORD(1), 0.75f, 0.0f);
  EXPECT_EQ(T0.COL.R, 0u);
  EXPECT_EQ(T0.COL.G, 0u);
  EXPECT_EQ(T0.COL.B, 0u);
  for (uint32_t I : {1u, 2u}) {
    EXPECT_EQ(M.TRIANGLE(I).COL.R, 255u);
    EXPECT_EQ(M.TRIANGLE(I).COL.G, 128u);
    EXPECT_EQ(M.TRIANGLE(I).COL.B, 64u);
  }
  EXPECT_EQ(M.TRIANGLE(3).COL.R, 12u);
  EXPECT_EQ(M.TRIANGLE(3).COL.G, 0u);
  EXPECT_EQ(M.TRIANGLE(3).COL.B, 0u);
  EXPECT_EQ(M.TRIANGLE(3).POINT_ID(1), 5u);
  EXPECT_EQ(M.TRIANGLE(3).POINT_ID(3), 3u);
  // Loading leaves the texture, the flag and the unused neighbour list empty.
  EXPECT_EQ(T0.TEXTURE, nullptr);
  EXPECT_EQ(T0.USE_TEX, 0);
  EXPECT_EQ(T0.NEIGHBOR(1), 0u);
}

TEST(ObjLoader, TextureVIsFlippedInDoublePrecision) {
  // 1 - 0.6 rounds differently when 0.6 is first rounded to single.
  ASSERT_NE(float(1.0 - 0.6), 1.0f - 0.6f);
  LOADED_MODEL M(VERTEX_LINES(3) +
                 "# Faces: 1\n"
                 "vt 0 0.6\n"
                 "vt 0 0.9\n"
                 "vt 0 0.5 7\n" // a third number is ignored
                 "f 1 2 3\n");
  EXPECT_EQ(M.TRIANGLE(0).TCOORD(3).Y, float(1.0 - 0.6));
  EXPECT_EQ(M.TRIANGLE(0).TCOORD(2).Y, float(1.0 - 0.9));
  EXPECT_EQ(M.TRIANGLE(0).TCOORD(1).Y, 0.5f);
}

TEST(ObjLoader, TextureLinesCountOnAcrossTheWholeFile) {
  // A face with only two vt lines shifts the corners of the next one.
  LOADED_MODEL M(VERTEX_LINES(3) +
                 "# Faces: 2\n"
                 "vt 1 0\n"
                 "vt 2 0\n"
                 "f 1 2 3\n"
                 "vt 3 0\n"
                 "vt 4 0\n"
                 "vt 5 0\n"
                 "f 1 2 3\n");
  EXPECT_EQ(M.TRIANGLE(0).TCOORD(3).X, 1.0f);
  EXPECT_EQ(M.TRIANGLE(0).TCOORD(2).X, 2.0f);
  EXPECT_EQ(M.TRIANGLE(0).TCOORD(1).X, 0.0f);
  EXPECT_EQ(M.TRIANGLE(1).TCOORD(1).X, 3.0f);
  EXPECT_EQ(M.TRIANGLE(1).TCOORD(3).X, 4.0f);
  EXPECT_EQ(M.TRIANGLE(1).TCOORD(2).X, 5.0f);
}

TEST(ObjLoader, HeaderCountIsReadFromTheSecondCharacterAfterTheColon) {
  struct HEADER_CASE {
    const char* LINE;
    uint32_t COUNT;
  } CASES[] = {
      {"# Vertices: 1234", 1234}, {"# Vertices:8", 0},         {"# Vertices:12", 2},
      {"Vertices:x7 vertices", 7}, {"# Vertices:   3", 3},     {"# Vertices: 2.5", 2},
      {"# Vertices: 0", 0},        {"# Vertices: -0.4", 0},    {"# Vertices: ", 0},
  };
  for (const HEADER_CASE& C : CASES) {
    SCOPED_TRACE(C.LINE);
    LOADED_MODEL M(std::string(C.LINE) + "\n");
    EXPECT_EQ(M->MAX_VERTICES, C.COUNT);
    EXPECT_NE(M->VERTICES, nullptr);
  }
  LOADED_MODEL F("o thing Faces: 3 (three)\n# Vertices: 1\nv 0 0 0\n");
  EXPECT_EQ(F->MAX_TRIANGLES, 3u);
}

TEST(ObjLoader, ArraysAreZeroFilledAndTheCopiesTwiceAsLarge) {
  LOADED_MODEL M("# Vertices: 2\n# Faces: 3\nv 1 1 1\n");
  ASSERT_EQ(M->MAX_VERTICES, 2u);
  EXPECT_VEC3(M.VERTEX(1), 0.0f, 0.0f, 0.0f);
  // Unfilled triangles name vertex 0, which exists.
  for (uint32_t I = 0; I < 3; ++I) EXPECT_EQ(M.TRIANGLE(I).POINT_ID(2), 0u);
  // The last entry of each doubled array can be written (the sanitizer build
  // would catch a short allocation).
  M->RVERTICES[3].W = 1.0f;
  M->PVERTICES[3].Z = 1.0f;
  M->RTRIANGLES[5].CULLED = -1;
  M->TVERTICES[1].W = 1.0f;
  EXPECT_EQ(M->TNORMALS, nullptr);
  EXPECT_EQ(M->MAX_RVERTS, 0u);
  EXPECT_EQ(M->MAX_RTRIS, 0u);
}

TEST(ObjLoader, SecondHeaderMakesFreshArraysAndCountersCarryOn) {
  LOADED_MODEL M(
      "# Vertices: 2\n"
      "v 1 1 1\n"
      "v 2 2 2\n"
      "# Vertices: 4\n"
      "v 3 3 3\n"
      "v 4 4 4\n");
  ASSERT_EQ(M->MAX_VERTICES, 4u);
  EXPECT_VEC3(M.VERTEX(0), 0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(M.VERTEX(1), 0.0f, 0.0f, 0.0f);
  EXPECT_VEC3(M.VERTEX(2), 3.0f, 3.0f, 3.0f);
  EXPECT_VEC3(M.VERTEX(3), 4.0f, 4.0f, 4.0f);
}

TEST(ObjLoader, FacesMayComeBeforeTheVertexHeader) {
  // Only the triangle arrays must exist when a face is read; its corners are
  // checked against the vertex count once the whole file is read.
  LOADED_MODEL M("# Faces: 1\nf 1 2 3\n" + VERTEX_LINES(3));
  EXPECT_EQ(M.TRIANGLE(0).POINT_ID(3), 2u);
  EXPECT_EQ(M.TRIANGLE(0).NORMAL.Z, 0.0f); // collinear corners on the x axis
}

TEST(ObjLoader, FileWithoutFacesLoadsEmpty) {
  LOADED_MODEL M(VERTEX_LINES(2) + "vn 0 1 0\nmtllib x.mtl\ng group\ns off\n\n");
  EXPECT_EQ(M->MAX_VERTICES, 2u);
  EXPECT_EQ(M->MAX_TRIANGLES, 0u);
}

TEST(ObjLoader, UnloadLeavesZeroCountsAndNullPointers) {
  LOADED_MODEL M(VERTEX_LINES(3) + "# Faces: 1\nf 1 2 3\n");
  M->MAX_RVERTS = 3;
  M->MAX_RTRIS = 1;
  UNLOAD_OBJ(M.PTR);
  EXPECT_EQ(M->MAX_VERTICES, 0u);
  EXPECT_EQ(M->MAX_TRIANGLES, 0u);
  EXPECT_EQ(M->VERTICES, nullptr);
  EXPECT_EQ(M->RVERTICES, nullptr);
  EXPECT_EQ(M->TVERTICES, nullptr);
  EXPECT_EQ(M->PVERTICES, nullptr);
  EXPECT_EQ(M->TRIANGLES, nullptr);
  EXPECT_EQ(M->RTRIANGLES, nullptr);
  // The per-frame counts are the model transform's and stay as they are.
  EXPECT_EQ(M->MAX_RVERTS, 3u);
  EXPECT_EQ(M->MAX_RTRIS, 1u);
}
