// Where the eye starts in a world of the user's own. A place to walk (a floor
// under the usual start that reaches well beyond it, nothing overhead) starts
// where the bundled maze starts; an object (a statue, a creature, a model far
// from the origin) is framed from outside, flying, all of it in view. The far
// plane grows with the world.
#pragma once
#include <cstdint>

#include "math/nmathf.h"
#include "model/model.h"

// The box of a model's triangle corners, non-finite corners left out.
struct WorldBox {
  NMATHF::VEC3F lo, hi;
  bool empty = true;  // no finite corner at all
};

// The shape of the view the framing must fill: vertical field of view in
// degrees, width over height, near plane distance.
struct ViewShape {
  float fov_degrees;
  float aspect;
  float znear;
};

struct WorldStart {
  NMATHF::VMAT camera;          // the eye's frame: right, up, forward, position
  bool fly = false;             // no floor to walk on from there
  bool framed = false;          // an object seen from outside
  float zfar = 500.0f;          // the far plane: the whole world stays in reach
  int32_t fly_speed_notch = 0;  // the start fly speed, in notches of FLY_SPEED_STEP
};

constexpr float MIN_ZFAR = 500.0f;
// Floor probes: the eye's column and eight around it this far out must all
// find something within the probe's reach below the eye.
constexpr float FLOOR_REACH = 16.0f;

WorldBox world_bounds(const MODEL_STRUCT& model);

// The start in MODEL for VIEW. With SPAWN the eye starts there, looking at the
// model's centre, walking when a floor lies somewhere below it.
WorldStart frame_world(const MODEL_STRUCT& model, const ViewShape& view,
                       const NMATHF::VEC3F* spawn = nullptr);

// Every vertex of MODEL times FACTOR, with the planes and normals derived anew.
void scale_world(MODEL_STRUCT& model, float factor);
