// Ordinary Wavefront OBJ files, without the count lines: faces of any number
// of corners, the four corner forms, relative indices and the statements that
// are read past.
#include <gtest/gtest.h>

#include <cstring>

#include "model_files.h"
#include "obj_reader.h"

namespace {

using Points = std::vector<std::array<uint32_t, 3>>;

Points corners_of(LoadedModel& m) {
  Points p;
  for (uint32_t i = 0; i < m->MAX_TRIANGLES; ++i)
    p.push_back({m.triangle(i).POINT_ID(1), m.triangle(i).POINT_ID(2), m.triangle(i).POINT_ID(3)});
  return p;
}

const std::string SQUARE = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 1.5 0\n";

TEST(PlainObj, FacesOfMoreCornersAreFannedFromTheFirst) {
  LoadedModel m(SQUARE + "f 1 2 3 4\nf 1 2 3 5 4\nf 3 5 4\n");
  ASSERT_EQ(m->MAX_VERTICES, 5u);
  EXPECT_EQ(corners_of(m), (Points{{0, 1, 2}, {0, 2, 3}, {0, 1, 2}, {0, 2, 4}, {0, 4, 3}, {2, 4, 3}}));
  EXPECT_EQ(m.vertex(4).Y, 1.5f);
  // Counter-clockwise seen from +z, as every fanned part of a convex face stays.
  for (uint32_t i = 0; i < m->MAX_TRIANGLES; ++i) EXPECT_EQ(m.triangle(i).NORMAL.Z, 1.0f) << i;
  // The derived geometry runs as for counted files: the quad's halves meet.
  EXPECT_EQ(m.triangle(0).CON(3), 2);
}

TEST(PlainObj, CornerFormsRelativeIndicesAndTextureCoordinates) {
  LoadedModel m(SQUARE +
                "vt 0.25 0\n"
                "vt 0.5 0.6\n"
                "vt 0.75 1 0\n"   // a third number (w) is read past
                "vn 0 0 1\n"
                "f 1/1 2/2/1 3/3/1\n"
                "f 1//1 3//1 4//1\n"  // no texture coordinates: 0, 0
                "f -5/-3 -4/-2 -3/-1\n"
                "f 4/1 3/4 5/2\n"     // vt 4 comes later in the file
                "vt 1 0.5\n");
  EXPECT_EQ(corners_of(m), (Points{{0, 1, 2}, {0, 2, 3}, {0, 1, 2}, {3, 2, 4}}));
  const auto uv = [&](uint32_t t, uint32_t k) {
    const NMATHF::VEC2F& c = m.triangle(t).TCOORD(k);
    return std::pair(c.X, c.Y);
  };
  // v is flipped in double precision, as in counted files.
  EXPECT_EQ(uv(0, 1), std::pair(0.25f, 1.0f));
  EXPECT_EQ(uv(0, 2), std::pair(0.5f, float(1.0 - 0.6)));
  EXPECT_EQ(uv(0, 3), std::pair(0.75f, 0.0f));
  for (uint32_t k = 1; k <= 3; ++k) EXPECT_EQ(uv(1, k), std::pair(0.0f, 0.0f));
  for (uint32_t k = 1; k <= 3; ++k) EXPECT_EQ(uv(2, k), uv(0, k));
  EXPECT_EQ(uv(3, 2), std::pair(1.0f, 0.5f));
}

TEST(PlainObj, StatementsOutsideTheSubsetAreReadPast) {
  LoadedModel m(
      "# exported\r\n"
      "mtllib scene.mtl\r\n"
      "o Box\r\n"
      "g side\r\n"
      "s 1\r\n"
      "\tv\t1 2 3\r\n"        // tabs and leading blanks separate too
      "v 4 5 6 1\r\n"
      "v 7 8 9\r\n"
      "vp 0.5\r\n"
      "l 1 2\r\n"
      "usemtl Material.001\r\n"  // no colour columns: read past
      "f 1 2 3\r\n"
      "usemtl mat_255_128_064\r\n"
      "f  3   2\t1 \r\n"
      "usemtl wood\r\n"
      "f 1 3 2\r\n");
  ASSERT_EQ(m->MAX_VERTICES, 3u);
  EXPECT_EQ(m.vertex(0).Z, 3.0f);
  EXPECT_EQ(m.vertex(1).X, 4.0f);
  EXPECT_EQ(m.vertex(2).Y, 8.0f);
  EXPECT_EQ(corners_of(m), (Points{{0, 1, 2}, {2, 1, 0}, {0, 2, 1}}));
  const auto col = [&](uint32_t t) {
    const RGB_STRUCT& c = m.triangle(t).COL;
    return std::array{c.R, c.G, c.B};
  };
  EXPECT_EQ(col(0), (std::array{0u, 0u, 0u}));
  EXPECT_EQ(col(1), (std::array{255u, 128u, 64u}));
  EXPECT_EQ(col(2), (std::array{255u, 128u, 64u}));
}

// The same mesh written in both formats gives the same arrays, bit for bit.
TEST(PlainObj, LoadsAsTheCountedFormatDoes) {
  struct Tri {
    int v[3];
    float uv[3][2];
  };
  const float vertices[][3] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {1, 1, 1.5f}};
  const Tri tris[] = {{{0, 1, 4}, {{0, 0}, {1, 0}, {0.5f, 1}}}, {{1, 2, 4}, {{0, 0}, {1, 0}, {0.5f, 1}}},
                      {{2, 3, 4}, {{0, 0}, {1, 0}, {0.5f, 1}}}, {{3, 0, 4}, {{0.25f, 0}, {0.75f, 0}, {0.5f, 0.5f}}},
                      {{0, 3, 2}, {{0, 0}, {0, 1}, {1, 1}}},    {{0, 2, 1}, {{0, 0}, {1, 1}, {1, 0}}}};
  std::string counted = "# Vertices: 5\n# Faces: 6\n", plain;
  char line[96];
  for (const auto& v : vertices) {
    std::snprintf(line, sizeof line, "v %g %g %g\n", v[0], v[1], v[2]);
    counted += line, plain += line;
  }
  counted += "usemtl mat_010_020_030\n";
  plain += "usemtl mat_010_020_030\n";
  int uv_number = 0;
  for (const Tri& t : tris) {
    // Counted: the first vt line of a face fills corner 3.
    for (int k = 2; k >= 0; --k) {
      std::snprintf(line, sizeof line, "vt %g %g\n", t.uv[k][0], t.uv[k][1]);
      counted += line;
    }
    for (int k = 0; k < 3; ++k) {
      std::snprintf(line, sizeof line, "vt %g %g\n", t.uv[k][0], t.uv[k][1]);
      plain += line;
    }
    std::snprintf(line, sizeof line, "f %d %d %d\n", t.v[0] + 1, t.v[1] + 1, t.v[2] + 1);
    counted += line;
    std::snprintf(line, sizeof line, "f %d/%d %d/%d %d/%d\n", t.v[0] + 1, uv_number + 1, t.v[1] + 1,
                  uv_number + 2, t.v[2] + 1, uv_number + 3);
    plain += line;
    uv_number += 3;
  }
  LoadedModel a(counted, "counted.obj"), b(plain, "plain.obj");
  ASSERT_EQ(a->MAX_VERTICES, b->MAX_VERTICES);
  ASSERT_EQ(a->MAX_TRIANGLES, b->MAX_TRIANGLES);
  EXPECT_EQ(std::memcmp(a->VERTICES, b->VERTICES, 5 * sizeof(NMATHF::VEC3F)), 0);
  EXPECT_EQ(std::memcmp(a->TRIANGLES, b->TRIANGLES, 6 * sizeof(TRIANGLE_STRUCT)), 0);
}

TEST(ObjCorner, TheFourFormsAndNothingElse) {
  struct Case {
    const char* text;
    bool ok;
    int64_t vertex = 0;
    bool has_texture = false;
    int64_t texture = 0;
  } cases[] = {
      {"7", true, 7, false, 0},      {"7/3", true, 7, true, 3},     {"7//2", true, 7, false, 0},
      {"7/3/2", true, 7, true, 3},   {"-1/-2/-3", true, -1, true, -2}, {"+4", true, 4, false, 0},
      {"7/", false},                  {"7//", false},                {"/3", false},
      {"7/3/", false},                {"7/3/2/1", false},            {"x", false},
      {"7/x", false},                 {"7//x", false},               {"1.5", false},
      {"-", false},                   {"", false},                   {"1234567890123456789", false},
  };
  for (const Case& c : cases) {
    Corner corner;
    ASSERT_EQ(parse_corner(c.text, corner), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(corner.vertex, c.vertex) << c.text;
    EXPECT_EQ(corner.has_texture, c.has_texture) << c.text;
    if (c.has_texture) {
      EXPECT_EQ(corner.texture, c.texture) << c.text;
    }
  }
}

TEST(ObjCorner, IndicesResolveForwardUpToTheTotalAndBackOverWhatWasRead) {
  EXPECT_EQ(resolve_index(1, 0, 5), 0);
  EXPECT_EQ(resolve_index(5, 0, 5), 4);  // a vertex later in the file
  EXPECT_EQ(resolve_index(6, 5, 5), -1);
  EXPECT_EQ(resolve_index(0, 5, 5), -1);
  EXPECT_EQ(resolve_index(-1, 3, 5), 2);
  EXPECT_EQ(resolve_index(-3, 3, 5), 0);
  EXPECT_EQ(resolve_index(-4, 3, 5), -1);
  EXPECT_EQ(resolve_index(INT64_MIN + 1, 3, 5), -1);
  EXPECT_EQ(resolve_index(INT64_MAX, 3, 5), -1);
}

}  // namespace
