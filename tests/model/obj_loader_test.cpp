// Reading the OBJ subset: vertices, faces, texture coordinates, colours and the
// header counts, with the odd cases of the fixed columns and single blanks.
#include <gtest/gtest.h>

#include "model_files.h"

using NMATHF::VEC2F;
using NMATHF::VEC3F;

namespace {

void expect_vec3(const VEC3F& v, float x, float y, float z) {
  EXPECT_EQ(v.X, x);
  EXPECT_EQ(v.Y, y);
  EXPECT_EQ(v.Z, z);
}

void expect_vec2(const VEC2F& v, float x, float y) {
  EXPECT_EQ(v.X, x);
  EXPECT_EQ(v.Y, y);
}

// N vertices at (I, 0, 0), so any three corners are a valid face.
std::string vertex_lines(int n) {
  std::string text = "# Vertices: " + std::to_string(n) + "\n";
  for (int i = 0; i < n; ++i) text += "v " + std::to_string(i) + " 0 0\n";
  return text;
}

}  // namespace

TEST(ObjLoader, VertexLinesTakeTheNumbersAfterTheFirstThreeBlanks) {
  LoadedModel m(
      "# Vertices: 6\n"
      "v 1.5 -2 3e1\n"
      "v 1 2 3 1\n"
      "v 1 2\n"
      "v 1  2 3\n"    // two blanks: 2 is read twice and 3 falls off
      "v 1\t2 3\n"    // a tab is no separator
      "v 0.1 x 7\r\n" // a malformed number reads 0; CRLF line ends
      "# Faces: 1\n"
      "f 1 2 3\n");
  ASSERT_EQ(m->MAX_VERTICES, 6u);
  expect_vec3(m.vertex(0), 1.5f, -2.0f, 30.0f);
  expect_vec3(m.vertex(1), 1.0f, 2.0f, 3.0f);
  expect_vec3(m.vertex(2), 1.0f, 2.0f, 0.0f);
  expect_vec3(m.vertex(3), 1.0f, 2.0f, 2.0f);
  expect_vec3(m.vertex(4), 1.0f, 3.0f, 0.0f);
  expect_vec3(m.vertex(5), 0.1f, 0.0f, 7.0f);
}

TEST(ObjLoader, FacesTexturesAndColours) {
  LoadedModel m(vertex_lines(6) +
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
  ASSERT_EQ(m->MAX_TRIANGLES, 4u);
  TRIANGLE_STRUCT& t0 = m.triangle(0);
  EXPECT_EQ(t0.POINT_ID(1), 2u);
  EXPECT_EQ(t0.POINT_ID(2), 3u);
  EXPECT_EQ(t0.POINT_ID(3), 4u);
  // The first vt line of a face fills corner 3; v is flipped.
  expect_vec2(t0.TCOORD(3), 0.25f, 1.0f);
  expect_vec2(t0.TCOORD(2), 0.5f, 1.0f);
  expect_vec2(t0.TCOORD(1), 0.75f, 0.0f);
  EXPECT_EQ(t0.COL.R, 0u);
  EXPECT_EQ(t0.COL.G, 0u);
  EXPECT_EQ(t0.COL.B, 0u);
  for (uint32_t i : {1u, 2u}) {
    EXPECT_EQ(m.triangle(i).COL.R, 255u);
    EXPECT_EQ(m.triangle(i).COL.G, 128u);
    EXPECT_EQ(m.triangle(i).COL.B, 64u);
  }
  EXPECT_EQ(m.triangle(3).COL.R, 12u);
  EXPECT_EQ(m.triangle(3).COL.G, 0u);
  EXPECT_EQ(m.triangle(3).COL.B, 0u);
  EXPECT_EQ(m.triangle(3).POINT_ID(1), 5u);
  EXPECT_EQ(m.triangle(3).POINT_ID(3), 3u);
  // Loading leaves the texture, the flag and the unused neighbour list empty.
  EXPECT_EQ(t0.TEXTURE, nullptr);
  EXPECT_EQ(t0.USE_TEX, 0);
  EXPECT_EQ(t0.NEIGHBOR(1), 0u);
}

TEST(ObjLoader, TextureVIsFlippedInDoublePrecision) {
  // 1 - 0.6 rounds differently when 0.6 is first rounded to single.
  ASSERT_NE(float(1.0 - 0.6), 1.0f - 0.6f);
  LoadedModel m(vertex_lines(3) +
                 "# Faces: 1\n"
                 "vt 0 0.6\n"
                 "vt 0 0.9\n"
                 "vt 0 0.5 7\n" // a third number is ignored
                 "f 1 2 3\n");
  EXPECT_EQ(m.triangle(0).TCOORD(3).Y, float(1.0 - 0.6));
  EXPECT_EQ(m.triangle(0).TCOORD(2).Y, float(1.0 - 0.9));
  EXPECT_EQ(m.triangle(0).TCOORD(1).Y, 0.5f);
}

TEST(ObjLoader, TextureLinesCountOnAcrossTheWholeFile) {
  // A face with only two vt lines shifts the corners of the next one.
  LoadedModel m(vertex_lines(3) +
                 "# Faces: 2\n"
                 "vt 1 0\n"
                 "vt 2 0\n"
                 "f 1 2 3\n"
                 "vt 3 0\n"
                 "vt 4 0\n"
                 "vt 5 0\n"
                 "f 1 2 3\n");
  EXPECT_EQ(m.triangle(0).TCOORD(3).X, 1.0f);
  EXPECT_EQ(m.triangle(0).TCOORD(2).X, 2.0f);
  EXPECT_EQ(m.triangle(0).TCOORD(1).X, 0.0f);
  EXPECT_EQ(m.triangle(1).TCOORD(1).X, 3.0f);
  EXPECT_EQ(m.triangle(1).TCOORD(3).X, 4.0f);
  EXPECT_EQ(m.triangle(1).TCOORD(2).X, 5.0f);
}

TEST(ObjLoader, HeaderCountIsReadFromTheSecondCharacterAfterTheColon) {
  struct HeaderCase {
    const char* line;
    uint32_t count;
  } cases[] = {
      {"# Vertices: 1234", 1234}, {"# Vertices:8", 0},         {"# Vertices:12", 2},
      {"Vertices:x7 vertices", 7}, {"# Vertices:   3", 3},     {"# Vertices: 2.5", 2},
      {"# Vertices: 0", 0},        {"# Vertices: -0.4", 0},    {"# Vertices: ", 0},
  };
  // One face on vertex 1, and room enough in the file for the count.
  const std::string rest = "\n# Faces: 1\nf 1 1 1\n#" + std::string(4000, ' ') + "\n";
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.line);
    if (c.count > 0) {
      LoadedModel m(c.line + rest);
      EXPECT_EQ(m->MAX_VERTICES, c.count);
    } else {
      // No vertex 1 for the face: the count shows in the note.
      MODEL_STRUCT record{};
      MODEL_STRUCT* model = &record;
      EXPECT_EXIT(LOAD_OBJ(write_model_file("zero.obj", c.line + rest), model),
                  testing::ExitedWithCode(ERR_OUT_OF_BOUNDS), "face 1 names vertex 1 of 0");
    }
  }
  LoadedModel f("o thing Faces: 3 (three)\n# Vertices: 1\nv 0 0 0\nf 1 1 1\n");
  EXPECT_EQ(f->MAX_TRIANGLES, 3u);
}

TEST(ObjLoader, ArraysAreZeroFilledAndTheCopiesTwiceAsLarge) {
  LoadedModel m("# Vertices: 2\n# Faces: 3\nv 1 1 1\nf 1 1 2\n");
  ASSERT_EQ(m->MAX_VERTICES, 2u);
  expect_vec3(m.vertex(1), 0.0f, 0.0f, 0.0f);
  // Unfilled triangles name vertex 0, which exists.
  for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(m.triangle(i).POINT_ID(2), 0u);
  EXPECT_EQ(m.triangle(2).POINT_ID(3), 0u);
  // The last entry of each doubled array can be written (the sanitizer build
  // would catch a short allocation).
  m->RVERTICES[3].W = 1.0f;
  m->PVERTICES[3].Z = 1.0f;
  m->RTRIANGLES[5].CULLED = -1;
  m->TVERTICES[1].W = 1.0f;
  EXPECT_EQ(m->TNORMALS, nullptr);
  EXPECT_EQ(m->MAX_RVERTS, 0u);
  EXPECT_EQ(m->MAX_RTRIS, 0u);
}

TEST(ObjLoader, SecondHeaderMakesFreshArraysAndCountersCarryOn) {
  LoadedModel m(
      "# Vertices: 2\n"
      "v 1 1 1\n"
      "v 2 2 2\n"
      "# Vertices: 4\n"
      "v 3 3 3\n"
      "v 4 4 4\n"
      "# Faces: 1\n"
      "f 3 4 3\n");
  ASSERT_EQ(m->MAX_VERTICES, 4u);
  expect_vec3(m.vertex(0), 0.0f, 0.0f, 0.0f);
  expect_vec3(m.vertex(1), 0.0f, 0.0f, 0.0f);
  expect_vec3(m.vertex(2), 3.0f, 3.0f, 3.0f);
  expect_vec3(m.vertex(3), 4.0f, 4.0f, 4.0f);
}

TEST(ObjLoader, FacesMayComeBeforeTheVertexHeader) {
  // Only the triangle arrays must exist when a face is read; its corners are
  // checked against the vertex count once the whole file is read.
  LoadedModel m("# Faces: 1\nf 1 2 3\n" + vertex_lines(3));
  EXPECT_EQ(m.triangle(0).POINT_ID(3), 2u);
  EXPECT_EQ(m.triangle(0).NORMAL.Z, 0.0f); // collinear corners on the x axis
}

TEST(ObjLoader, LinesOutsideTheFormatAreReadPast) {
  LoadedModel m(vertex_lines(3) + "vn 0 1 0\nmtllib x.mtl\ng group\ns off\n\n# Faces: 1\nf 1 2 3\no x\n");
  EXPECT_EQ(m->MAX_VERTICES, 3u);
  EXPECT_EQ(m->MAX_TRIANGLES, 1u);
}

TEST(ObjLoader, UnloadLeavesZeroCountsAndNullPointers) {
  LoadedModel m(vertex_lines(3) + "# Faces: 1\nf 1 2 3\n");
  m->MAX_RVERTS = 3;
  m->MAX_RTRIS = 1;
  UNLOAD_OBJ(m.ptr);
  EXPECT_EQ(m->MAX_VERTICES, 0u);
  EXPECT_EQ(m->MAX_TRIANGLES, 0u);
  EXPECT_EQ(m->VERTICES, nullptr);
  EXPECT_EQ(m->RVERTICES, nullptr);
  EXPECT_EQ(m->TVERTICES, nullptr);
  EXPECT_EQ(m->PVERTICES, nullptr);
  EXPECT_EQ(m->TRIANGLES, nullptr);
  EXPECT_EQ(m->RTRIANGLES, nullptr);
  // The per-frame counts are the model transform's and stay as they are.
  EXPECT_EQ(m->MAX_RVERTS, 3u);
  EXPECT_EQ(m->MAX_RTRIS, 1u);
}
