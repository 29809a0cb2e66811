// The main routine's own state: everything long-lived that the frame loop owns.
#pragma once
#include <cstdint>
#include <string>

#include "math/nmathf.h"
#include "model/model.h"
#include "platform/platform.h"

// One placed model: the maze (entity 0) or a cube or UFO spinning in place.
struct ENTITY_STRUCT {
  NMATHF::VEC3F POSITION;
  NMATHF::VEC3F ROTATION;  // degrees about X, Y and Z
  MODEL_STRUCT* MODEL = nullptr;
};

constexpr int32_t ENTITY_COUNT = 51;
constexpr int32_t MODEL_COUNT = 3;

struct AppState {
  MODEL_STRUCT* MODELS = nullptr;  // 0 maze, 1 cube, 2 UFO
  IMAGE* TEXTURES[MODEL_COUNT] = {};
  NMATHF::VEC3F LIGHT{25.0f, 50.0f, 25.0f};
  NMATHF::VMAT CAM;
  float GRAVY = 0.0f;
  int32_t ON_GROUND = 0, INTERSECTED = 0;
  NMATHF::VEC3F IPOINT;
  std::string ISTRING;
  ENTITY_STRUCT ENTITY[ENTITY_COUNT];
  NMATHF::MATRIX LMATRIX{0.0f}, TEMPMATRIX{0.0f}, TMATRIX{0.0f};
  NMATHF::VEC3F TLIGHT;
  double THIS_TIME = 0.0, LAST_TIME = 0.0, FRAME_TIME = 0.0, FPS_TIME = 0.0;
  int32_t FPS_COUNT = 0;
  std::string FPS_STRING;
  int32_t FCNT = 0;
  int32_t TRIS_RENDERED = 0;
  int32_t MX = 0, MY = 0;
  int32_t MOUSE_ON = -1, EXIT_GAME = 0;
  int32_t OAA = 0, OIS = 0;
};
