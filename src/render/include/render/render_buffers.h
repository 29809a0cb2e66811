// (Re)creating the back buffers and the depth buffer for the quality switches.
#pragma once
#include <cstdint>

// Sets the viewport numbers and ASPECT, remakes BACKBUFFER, BACKBUFFER2 (when both
// ISCALE and ANTI_ALIAS are on) and ZBUFF for ISCALE and ANTI_ALIAS, and rebuilds
// PROJECTION_MATRIX. Returns 1.
int32_t INIT_BUFFERS();

// Releases ZBUFF, BACKBUFFER and BACKBUFFER2, those that exist.
void free_buffers();
