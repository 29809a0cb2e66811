// The render pipeline's process-wide settings and buffers. Only INIT_BUFFERS
// makes and replaces the buffers; the main routine frees them at exit.
#pragma once
#include <cstdint>

#include "base/image.h"
#include "math/matrix.h"
#include "raster/raster_target.h"

extern int32_t SCR_W, SCR_H;    // the window: 640 x 480
extern int32_t SCR_W2, SCR_H2;  // half of it (integer division): the screen centre

// Render switches: 0 false, -1 true.
extern int32_t ANTI_ALIAS;  // 2 x 2 averaging (key 4)
extern int32_t ISCALE;      // half-resolution drawing, doubled (key 3)
extern int32_t TEXTURED;    // textured triangles (key 2)
extern int32_t WIRE_FRAME;  // outlines only (key 1)

extern int32_t BUFFW, BUFFH;  // BACKBUFFER's size
extern int32_t BUFFSIZE;      // BUFFW * BUFFH: pixels of BACKBUFFER, entries of ZBUFF
extern int32_t TSCRW, TSCRH;  // half the viewport
extern int32_t TOP;           // the viewport's height

extern IMAGE* BACKBUFFER;   // target of all triangle drawing
extern IMAGE* BACKBUFFER2;  // half-size buffer between averaging and doubling
extern float* ZBUFF;        // 1/w (view distance) per back-buffer pixel, larger is nearer, cleared to 0

extern float ZNEAR, ZFAR;  // 2 and 500 once set
extern float FOV;          // vertical field of view in degrees: 60 once set
extern float ASPECT;       // 4/3 once set

// PERSPECTIVE(FOV, ASPECT, ZNEAR, ZFAR), rebuilt with the buffers.
extern NMATHF::MATRIX PROJECTION_MATRIX;

// How the spans are filled and the post-filters run, never what they write:
// the best code this processor runs unless the user asks for the portable one.
extern SimdPath simd_path;
