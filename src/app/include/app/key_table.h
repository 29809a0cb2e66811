// The keys of the program in one table: the help overlay, the window title,
// `--help` and README list them from here, in this order. A row that names a
// switch shows that switch's state.
#pragma once
#include <string>
#include <vector>

#include "app/player.h"

enum class Switch {
  NONE, MOUSE_LOOK, FLY, SOLID_WALLS, WIRE_FRAME, TEXTURED, HALF_RESOLUTION, ANTI_ALIAS
};

struct KeyHelp {
  const char* keys;    // as the user reads them: "W A S D", "F11, Alt+Enter"
  const char* effect;  // short: it shares a line of the help overlay with the keys and a state
  Switch shows = Switch::NONE;
};

inline constexpr KeyHelp KEY_TABLE[] = {
    {"Mouse", "look around"},
    {"W A S D", "walk forward, left, back, right"},
    {"Space", "jump"},
    {"F", "fly mode", Switch::FLY},
    {"Wheel, + and -", "fly faster or slower"},
    {"C", "solid walls", Switch::SOLID_WALLS},
    {"R, Home", "start again"},
    {"M", "mouse look", Switch::MOUSE_LOOK},
    {"1", "wire frame", Switch::WIRE_FRAME},
    {"2", "textures", Switch::TEXTURED},
    {"3", "half-resolution drawing", Switch::HALF_RESOLUTION},
    {"4", "anti-aliasing", Switch::ANTI_ALIAS},
    {"F1", "this help"},
    {"F11, Alt+Enter", "full screen"},
    {"F12", "save a screenshot (PNG)"},
    {"Esc", "quit"},
};

// The switches' states as one number, to tell when one changed.
unsigned switch_states(const Player& player);
// The help overlay: a heading, then one line per key with the switch states.
std::vector<std::string> help_lines(const Player& player);
// The title's part after the program's name: every switch and its state.
std::string switch_summary(const Player& player);
// How the player moves and which key changes it, for the first seconds in a
// window. FRAMED_START: the eye was put outside an object, flying.
std::string mode_notice(const Player& player, bool framed_start);
// The key list of `--help`: a heading line, then "  KEYS  EFFECT" lines.
std::string key_usage_text();
