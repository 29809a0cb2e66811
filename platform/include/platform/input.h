// Keyboard and mouse, polled: held keys by PC scan code (set 1), the pointer
// in page pixels.
#pragma once
#include <cstdint>

// Scan codes of the keys the program uses (PC set 1).
enum : int32_t {
  SC_ESCAPE = 1, SC_1 = 2, SC_2 = 3, SC_3 = 4, SC_4 = 5,
  SC_W = 17, SC_A = 30, SC_S = 31, SC_D = 32, SC_M = 50, SC_SPACE = 57,
  SC_R = 19, SC_F = 33, SC_C = 46, SC_HOME = 71,
  SC_MINUS = 12, SC_EQUALS = 13, SC_KP_MINUS = 74, SC_KP_PLUS = 78,  // - and =/+, main row and keypad
};
// -1 while the key with that scan code is down, else 0.
int32_t key_held(int32_t scancode);
// Pointer position in page pixels (-1, -1 outside the page), wheel count, button
// bits. While the cursor is hidden the pointer is captured for mouse look: the
// reading is the position last set plus the travel since (see platform/host.h).
void get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons);
constexpr int32_t MOUSE_UNCHANGED = INT32_MIN;
// Moves the pointer (clamped into the window; MOUSE_UNCHANGED keeps a
// coordinate); VISIBLE 1 shows, 0 hides, -1 keeps; CONFINE 1, 0 or -1 likewise.
void set_mouse(int32_t x, int32_t y, int32_t visible, int32_t confine);
// True while the window has lost the user (focus elsewhere): the program holds
// still. Never true without a window.
bool input_paused();
