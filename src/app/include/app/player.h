// The player: a free camera turned by the mouse, moved by W A S D and held above
// the maze's floor by a vertical probe.
#pragma once
#include "app/app_state.h"

constexpr float MOVE_SPEED = 15.0f;     // units per second
constexpr float EYE_HEIGHT = 4.0f;      // above the probe's hit point
constexpr float PROBE_LENGTH = 100.0f;  // the probe reaches this far down

// At (0, 50, 0), turned by one radian about each axis.
void camera_setup(AppState& s);
// Turns the camera by the mouse's travel from the screen centre and re-centres it.
void mouse_look(AppState& s);
// W, S, A, D and the jump request, in that order.
void movement_keys(AppState& s);
// Probes the maze under the camera and lifts the camera to eye height.
void ground_test(AppState& s);
// The frame's view matrix and the light in view space.
void build_view(AppState& s);
