// Textures in perspective through the whole pipeline: a floor and walls with a
// texture whose every texel names itself go through the model transform, the
// render queue and the textured rasterizer; each covered pixel's texel is
// compared with the texel that an exact mapping, worked out in double
// precision from the pixel's own ray, says it shows.
#include <cmath>
#include <cstdlib>
#include <string>

#include "base/png.h"
#include "base/rounding.h"
#include "transform_fixture.h"

namespace {
constexpr int32_t TEX = 256;

// Texel (u, v) holds u in blue and v in green; red makes a checkerboard of
// 32-texel squares, for the eye.
IMAGE* self_naming_texture() {
  IMAGE* t = image_create(TEX, TEX);
  uint32_t* px = t->pixels();
  for (int32_t v = 0; v < TEX; ++v)
    for (int32_t u = 0; u < TEX; ++u)
      px[v * TEX + u] =
          0xFF000000u | (((u / 32 + v / 32) & 1) ? 0xC00000u : 0x400000u) | uint32_t(v) << 8 | uint32_t(u);
  return t;
}

struct Corner {
  VEC3F p;  // model space
  VEC2F uv;  // texels
};

// A quad (corners counter-clockwise seen from its front, texture coordinates
// affine across it) cut into a grid of GRID x GRID cells of two triangles
// each, as the maze's floor is tiled: the near cut then finds room for its
// pieces (the model keeps spare room for as many triangles as it has).
constexpr int GRID = 6;
MemoryModel quad(const Corner (&c)[4], IMAGE* texture) {
  std::vector<VEC3F> verts;
  std::vector<VEC2F> uvs;
  for (int j = 0; j <= GRID; ++j)
    for (int i = 0; i <= GRID; ++i) {
      const float a = float(i) / GRID, b = float(j) / GRID;
      // corner 0 + a (corner 1 - corner 0) + b (corner 3 - corner 0)
      verts.push_back(VEC3F(c[0].p.X + a * (c[1].p.X - c[0].p.X) + b * (c[3].p.X - c[0].p.X),
                            c[0].p.Y + a * (c[1].p.Y - c[0].p.Y) + b * (c[3].p.Y - c[0].p.Y),
                            c[0].p.Z + a * (c[1].p.Z - c[0].p.Z) + b * (c[3].p.Z - c[0].p.Z)));
      uvs.push_back(VEC2F(c[0].uv.X + a * (c[1].uv.X - c[0].uv.X) + b * (c[3].uv.X - c[0].uv.X),
                          c[0].uv.Y + a * (c[1].uv.Y - c[0].uv.Y) + b * (c[3].uv.Y - c[0].uv.Y)));
    }
  std::vector<Face> faces;
  for (uint32_t j = 0; j < GRID; ++j)
    for (uint32_t i = 0; i < GRID; ++i) {
      const uint32_t k = j * (GRID + 1) + i;
      faces.push_back({k, k + 1, k + GRID + 2});
      faces.push_back({k, k + GRID + 2, k + GRID + 1});
    }
  MemoryModel m(verts, faces);
  for (size_t t = 0; t < faces.size(); ++t) {
    for (int k = 0; k < 3; ++k) m->TRIANGLES[t].TCOORD(k + 1) = uvs[faces[t][k]];
    m->TRIANGLES[t].TEXTURE = texture;
  }
  return m;
}

struct Tally {
  int64_t covered = 0, exact = 0, one_off = 0, worse = 0;
  double worst_depth = 0;  // largest relative error of ZBUFF against 1 / w
};

int32_t wrapped_distance(int32_t a, int32_t b) {
  const int32_t d = std::abs(a - b) % TEX;
  return std::min(d, TEX - d);
}

class PerspectiveTest : public TransformTest {
 protected:
  void SetUp() override {
    TransformTest::SetUp();
    texture = self_naming_texture();
  }
  void TearDown() override { image_destroy(texture); }

  // Draws MODEL seen through M and checks every covered pixel.
  Tally draw_and_check(MemoryModel& model, const MATRIX& m, const Corner (&c)[4],
                       const std::string& name) {
    // The first call lets the triangles through the view volume, so the
    // second queues them with their own texture coordinates.
    run(model, m);
    fcnt = 0;
    run(model, m);
    for (int32_t i = 0; i < fcnt; ++i) RBUFFER(i).SHADE = 0;  // texels unchanged
    clear_depth_buffer();
    clear_back_buffer();
    BUFFER_RENDER(fcnt);
    if (const char* dir = std::getenv("MAZEWALK_TEST_SHOTS"))
      save_png((std::string(dir) + "/" + name + ".png").c_str(), BACKBUFFER->pixels(), BUFFW,
               BUFFH, BUFFW * 4);

    // The quad's corners in view space, and the affine map from its plane to
    // texels through the first triangle's corners.
    double q[4][3];
    for (int k = 0; k < 4; ++k) {
      const double x = c[k].p.X, y = c[k].p.Y, z = c[k].p.Z;
      for (int j = 0; j < 3; ++j)
        q[k][j] = m.M[j] * x + m.M[4 + j] * y + m.M[8 + j] * z + m.M[12 + j];
    }
    const double e1[3] = {q[1][0] - q[0][0], q[1][1] - q[0][1], q[1][2] - q[0][2]};
    const double e2[3] = {q[2][0] - q[0][0], q[2][1] - q[0][1], q[2][2] - q[0][2]};
    const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                         e1[0] * e2[1] - e1[1] * e2[0]};
    const double nq = n[0] * q[0][0] + n[1] * q[0][1] + n[2] * q[0][2];
    const double e11 = e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2];
    const double e22 = e2[0] * e2[0] + e2[1] * e2[1] + e2[2] * e2[2];
    const double e12 = e1[0] * e2[0] + e1[1] * e2[1] + e1[2] * e2[2];
    const double det = e11 * e22 - e12 * e12;

    Tally tally;
    const uint32_t* px = BACKBUFFER->pixels();
    for (int32_t row = 0; row < BUFFH; ++row)
      for (int32_t col = 0; col < BUFFW; ++col) {
        const float depth = ZBUFF[row * BUFFW + col];
        if (!(depth > 0.0f)) continue;
        ++tally.covered;
        // Pixel (col, row) samples the screen point at its centre: its ray in
        // view space, undoing the viewport and the projection.
        const double nx = (col + 0.5 - TSCRW) / (TSCRW + 1.0);
        const double ny = (double(TOP - TSCRH) - (row + 0.5)) / (TSCRH + 1.0);
        const double d[3] = {nx / PROJECTION_MATRIX.M[0], ny / PROJECTION_MATRIX.M[5], -1.0};
        const double t = nq / (n[0] * d[0] + n[1] * d[1] + n[2] * d[2]);
        const double p[3] = {t * d[0] - q[0][0], t * d[1] - q[0][1], t * d[2] - q[0][2]};
        const double p1 = p[0] * e1[0] + p[1] * e1[1] + p[2] * e1[2];
        const double p2 = p[0] * e2[0] + p[1] * e2[1] + p[2] * e2[2];
        const double b1 = (e22 * p1 - e12 * p2) / det, b2 = (e11 * p2 - e12 * p1) / det;
        const double u = c[0].uv.X + b1 * (c[1].uv.X - c[0].uv.X) + b2 * (c[2].uv.X - c[0].uv.X);
        const double v = c[0].uv.Y + b1 * (c[1].uv.Y - c[0].uv.Y) + b2 * (c[2].uv.Y - c[0].uv.Y);
        const int32_t want_u = int32_t(std::nearbyint(u)) & (TEX - 1);
        const int32_t want_v = int32_t(std::nearbyint(v)) & (TEX - 1);
        const int32_t got_u = int32_t(px[row * BUFFW + col] & 255u);
        const int32_t got_v = int32_t((px[row * BUFFW + col] >> 8) & 255u);
        const int32_t off = std::max(wrapped_distance(got_u, want_u), wrapped_distance(got_v, want_v));
        if (off == 0) ++tally.exact;
        else if (off == 1) ++tally.one_off;
        else ++tally.worse;
        // The depth buffer holds 1 / w, w the view distance -z.
        tally.worst_depth = std::max(tally.worst_depth, std::fabs(double(depth) * t - 1.0));
      }
    return tally;
  }

  void expect_perspective_correct(const Tally& t, int64_t min_covered) {
    RecordProperty("covered", std::to_string(t.covered));
    RecordProperty("exact", std::to_string(t.exact));
    RecordProperty("one_off", std::to_string(t.one_off));
    EXPECT_GE(t.covered, min_covered);
    EXPECT_GE(double(t.exact), 0.995 * double(t.covered))
        << t.exact << " exact, " << t.one_off << " one off of " << t.covered;
    EXPECT_EQ(t.worse, 0) << "of " << t.covered;
    EXPECT_LT(t.worst_depth, 1e-4);
  }

  IMAGE* texture = nullptr;
};

MATRIX turned_about_y(float degrees) {
  MATRIX r = identity();
  r.ROTATE(VEC3F(0.0f, degrees, 0.0f));
  return r;
}
}  // namespace

TEST_F(PerspectiveTest, FloorToTheHorizon) {
  // The eye 4 above a floor that runs from under it to 60 ahead: grazing far
  // away, cut by the near plane close by. Four texels a unit.
  const Corner c[4] = {{VEC3F(-30, -4, -1), VEC2F(0.0f, 4.0f)},
                       {VEC3F(30, -4, -1), VEC2F(240.0f, 4.0f)},
                       {VEC3F(30, -4, -60), VEC2F(240.0f, 240.0f)},
                       {VEC3F(-30, -4, -60), VEC2F(0.0f, 240.0f)}};
  MemoryModel m = quad(c, texture);
  expect_perspective_correct(draw_and_check(m, identity(), c, "floor"), 60000);
}

TEST_F(PerspectiveTest, FloorOneUnitBelowTheEyeTurnedAside) {
  const Corner c[4] = {{VEC3F(-40, -1, 10), VEC2F(0.0f, -40.0f)},
                       {VEC3F(40, -1, 10), VEC2F(480.0f, -40.0f)},
                       {VEC3F(40, -1, -70), VEC2F(480.0f, 440.0f)},
                       {VEC3F(-40, -1, -70), VEC2F(0.0f, 440.0f)}};
  MemoryModel m = quad(c, texture);
  expect_perspective_correct(draw_and_check(m, turned_about_y(25), c, "floor-low"), 40000);
}

TEST_F(PerspectiveTest, WallTwoPointOneUnitsAwaySeenAtAnAngle) {
  // The eye 2.1 from the wall's plane, looking 35 degrees off its normal: the
  // near plane cuts the part beside the eye. Eight texels a unit.
  const Corner c[4] = {{VEC3F(-20, -4, -2.1f), VEC2F(0.0f, 80.0f)},
                       {VEC3F(20, -4, -2.1f), VEC2F(320.0f, 80.0f)},
                       {VEC3F(20, 6, -2.1f), VEC2F(320.0f, 0.0f)},
                       {VEC3F(-20, 6, -2.1f), VEC2F(0.0f, 0.0f)}};
  MemoryModel m = quad(c, texture);
  expect_perspective_correct(draw_and_check(m, turned_about_y(35), c, "wall-2.1"), 150000);
}

TEST_F(PerspectiveTest, WallAlongTheViewAtAGrazingAngle) {
  const Corner c[4] = {{VEC3F(-3, -4, -1), VEC2F(4.0f, 40.0f)},
                       {VEC3F(-3, -4, -80), VEC2F(320.0f, 40.0f)},
                       {VEC3F(-3, 6, -80), VEC2F(320.0f, 0.0f)},
                       {VEC3F(-3, 6, -1), VEC2F(4.0f, 0.0f)}};
  MemoryModel m = quad(c, texture);
  expect_perspective_correct(draw_and_check(m, identity(), c, "wall-grazing"), 100000);
}
