// The render settings start-up sets, (re)creating the back buffers and the depth
// buffer for the quality switches, and the per-frame clears.
#pragma once
#include <cstdint>

#include "render/renderer.h"

// Sets the viewport numbers and ASPECT, remakes BACKBUFFER, BACKBUFFER2 (when both
// ISCALE and ANTI_ALIAS are on) and ZBUFF for ISCALE and ANTI_ALIAS, and rebuilds
// PROJECTION_MATRIX. The aspect is the buffer's shape, so a wider screen sees
// more at the sides under the same vertical field of view. Half sizes round
// up, so an odd screen's last column and row are drawn too. Returns 1.
int32_t INIT_BUFFERS();

// Moves the far plane to ZFAR and rebuilds PROJECTION_MATRIX with it; the
// buffers stay as they are.
void set_far_plane(float zfar);

// Releases ZBUFF, BACKBUFFER and BACKBUFFER2, those that exist.
void free_buffers();

// The screen's size: SCR_W, SCR_H and their halves. The buffers follow at the
// next INIT_BUFFERS.
void set_screen_size(int32_t width, int32_t height);

// The render settings as start-up sets them before the buffers are made: the
// 640 x 480 screen (SCR_W, SCR_H and their halves), ZNEAR 2, ZFAR 500 and FOV
// 60. The render switches are left as they are.
void reset_render_state();

// The per-frame clears: every ZBUFF entry to 0 (nothing drawn yet), every
// BACKBUFFER byte to 0 (black), in bands on RENDERER's drawing threads (or
// the default renderer's).
void clear_depth_buffer(Renderer& renderer);
void clear_back_buffer(Renderer& renderer);
void clear_depth_buffer();
void clear_back_buffer();
