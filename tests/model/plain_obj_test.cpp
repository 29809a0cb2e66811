// Ordinary Wavefront OBJ files, without the count lines: faces of any number
// of corners, the four corner forms, relative indices and the statements that
// are read past.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>

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
      {"123456789012345678", true, 123456789012345678}, {"7/+", false}, {"7/3//", false},
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

namespace {

// What exporters write, and files that hold no face at all.
struct ExportedCase {
  const char* name;
  std::string text;
  uint32_t vertices, triangles;
  Points first_two;  // the corners of the first two triangles
};

const std::string BOX_LINES =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 -1\n";
const std::string BOX_FACES =
    "f 1/1/1 4/4/1 3/3/1 2/2/1\nf 5/1/1 6/2/1 7/3/1 8/4/1\nf 1/1/1 2/2/1 6/3/1 5/4/1\n"
    "f 2/1/1 3/2/1 7/3/1 6/4/1\nf 3/1/1 4/2/1 8/3/1 7/4/1\nf 4/1/1 1/2/1 5/3/1 8/4/1\n";
const Points BOX_FIRST = {{0, 3, 2}, {0, 2, 1}};

std::string utf16(const std::string& text, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text) out += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
  return out;
}

std::string with_line_ends(std::string text, const std::string& end) {
  std::string out;
  for (char c : text) out += c == '\n' ? end : std::string(1, c);
  return out;
}

const ExportedCase EXPORTED[] = {
    {"CountCommentsAboveQuads", "# Vertices: 8\n# Faces: 6\no Box\n" + BOX_LINES + "s off\n" + BOX_FACES, 8, 12, BOX_FIRST},
    {"CountCommentsAboveSharedCoordinates",
     "# Vertices: 4\n# Faces: 2\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
     "f 1/1 2/2 3/3\nf 1/1 3/3 4/4\n", 4, 2, {{0, 1, 2}, {0, 2, 3}}},
    {"CountCommentsAndALibrary", "# Vertices: 3\n# Faces: 1\nmtllib box.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 3 2 1\n", 3, 1,
     {{2, 1, 0}}},
    {"CountedQuadWithoutCoordinates", "# Vertices: 4\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n# Faces: 1\nf 1 2 3 4\n", 4,
     2, {{0, 1, 2}, {0, 2, 3}}},
    {"Utf16LittleEndian", utf16(with_line_ends(BOX_LINES + BOX_FACES, "\r\n"), false), 8, 12, BOX_FIRST},
    {"Utf16BigEndian", utf16("# Vertices: 8\n# Faces: 6\n" + BOX_LINES + BOX_FACES, true), 8, 12, BOX_FIRST},
    {"Utf8MarkAndLoneCarriageReturns", "\xEF\xBB\xBF" + with_line_ends(BOX_LINES + BOX_FACES, "\r"), 8, 12, BOX_FIRST},
    {"ContinuedLines", "v 0 0 \\\n0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 \\\n 3 \\\n4\ng a\nl 1 2\np 3\n", 4, 2,
     {{0, 1, 2}, {0, 2, 3}}},
    // Without faces: no triangles, and no failure.
    {"Empty", "", 0, 0, {}},
    {"CountsOnly", "# mazewalk maze\n# Vertices: 3\n# Faces: 1\n", 3, 0, {}},
    {"CountedCutBeforeTheFaces", "# Vertices: 1\nv 0 0 0\n# Faces: 2\nusemtl col_255_128_064\n", 1, 0, {}},
    {"SecondFaceCountDropsTheFaces", "# Vertices: 1\nv 0 0 0\n# Faces: 1\nf 1 1 1\nFaces: \n", 1, 0, {}},
    {"FaceCountWithoutVertices", "# Faces: 2\n", 0, 0, {}},
    {"VerticesOnly", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\n", 3, 0, {}},
};

class ExportedFile : public testing::TestWithParam<ExportedCase> {};

TEST_P(ExportedFile, LoadsItsTriangles) {
  const ExportedCase& c = GetParam();
  LoadedModel m(c.text, std::string(c.name) + ".obj");
  EXPECT_EQ(m->MAX_VERTICES, c.vertices);
  ASSERT_EQ(m->MAX_TRIANGLES, c.triangles);
  const Points all = corners_of(m);
  EXPECT_EQ(Points(all.begin(), all.begin() + std::min<ptrdiff_t>(ptrdiff_t(all.size()), 2)), c.first_two);
  if (c.vertices == 8) {
    EXPECT_EQ(m.vertex(6).Z, 1.0f);
  }
}

INSTANTIATE_TEST_SUITE_P(PlainObj, ExportedFile, testing::ValuesIn(EXPORTED),
                         [](const testing::TestParamInfo<ExportedCase>& param_info) {
                           return std::string(param_info.param.name);
                         });

TEST(ObjMaterialLibrary, ColoursTexturesAndWhatCannotBeFound) {
  const std::string folder = folder_of(write_model_file("room.mtl", ""));
  std::filesystem::create_directories(folder + "/Tex");
  write_model_file("Tex/Wood.JPG", "");
  write_model_file("room.mtl",
                   "# made by a tool\r\n"
                   "Kd 1 1 1\r\n"                           // before any material: read past
                   "newmtl Wood\r\n"
                   "Kd 0.8 0.8 0.8\r\n"
                   "map_Kd -s 2 2 1 -bm 0.5 .\\tex\\wood.jpg\r\n"
                   "newmtl Red Paint\r\n"
                   "Kd 1.5 0.5 -1\r\n"
                   "newmtl Grey\r\n"
                   "Kd 0.5\r\n"
                   "newmtl Gone\r\n"
                   "map_Kd missing file.png\r\n");
  const std::string quad = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
  ObjMaterials materials;
  LoadedModel m;
  LOAD_OBJ(write_model_file("room.obj", "mtllib room.mtl\n" + quad +
                                            "f 1 2 3\nusemtl Wood\nf 1 2 3 4\nusemtl Red Paint\nf 1 2 3\n"
                                            "usemtl Nothing\nf 1 2 3\nusemtl Grey\nf 1 2 3\n"),
           m.ptr, materials);
  ASSERT_EQ(materials.list.size(), 4u);
  const ObjMaterial& wood = materials.list[0];
  EXPECT_EQ(wood.name, "Wood");
  EXPECT_TRUE(wood.has_colour);
  EXPECT_EQ(wood.colour.R, 204u);
  EXPECT_EQ(wood.texture, folder + "/Tex/Wood.JPG");
  const ObjMaterial& red = materials.list[1];
  EXPECT_EQ(red.name, "Red Paint");
  EXPECT_EQ((std::array{red.colour.R, red.colour.G, red.colour.B}), (std::array{255u, 128u, 0u}));
  EXPECT_TRUE(red.texture.empty());
  EXPECT_EQ(materials.list[2].colour.B, 128u);
  EXPECT_EQ(materials.list[3].texture, folder + "/missing file.png");
  EXPECT_FALSE(materials.list[3].has_colour);
  EXPECT_EQ(materials.of_triangle, (std::vector<int32_t>{-1, 0, 0, 1, -1, 2}));
  ASSERT_EQ(materials.problems.size(), 1u);
  EXPECT_NE(materials.problems[0].find("no library defines the material \"Nothing\""), std::string::npos);

  // A library that is missing is one problem; its names are not checked.
  LoadedModel lost;
  LOAD_OBJ(write_model_file("lost.obj", "mtllib lost.mtl\n" + quad + "usemtl Wood\nf 1 2 3\n"), lost.ptr, materials);
  ASSERT_EQ(materials.problems.size(), 1u);
  EXPECT_NE(materials.problems[0].find("lost.mtl: no such file; its materials are left out"), std::string::npos);
  EXPECT_EQ(materials.of_triangle, std::vector<int32_t>{-1});
}

}  // namespace
