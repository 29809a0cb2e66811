#include "render/render_globals.h"

int32_t SCR_W = 0, SCR_H = 0;
int32_t SCR_W2 = 0, SCR_H2 = 0;

int32_t ANTI_ALIAS = -1;
int32_t ISCALE = -1;
int32_t TEXTURED = -1;
int32_t WIRE_FRAME = 0;

int32_t BUFFW = 0, BUFFH = 0;
int32_t BUFFSIZE = 0;
int32_t TSCRW = 0, TSCRH = 0;
int32_t TOP = 0;

IMAGE* BACKBUFFER = nullptr;
IMAGE* BACKBUFFER2 = nullptr;
float* ZBUFF = nullptr;

float ZNEAR = 0.0f, ZFAR = 0.0f;
float FOV = 0.0f;
float ASPECT = 0.0f;

NMATHF::MATRIX PROJECTION_MATRIX(0.0f);

SimdPath simd_path = best_simd_path();
