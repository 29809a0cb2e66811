#include "app/key_table.h"

#include <cstdio>

#include "render/render_globals.h"

namespace {
constexpr int KEYS_WIDTH = 15;
constexpr int EFFECT_WIDTH = 32;

std::string padded(const char* text, int width) {
  std::string s = text;
  if (int(s.size()) < width) s.append(size_t(width) - s.size(), ' ');
  return s;
}

// The state of a switch: true while on.
bool switch_on(Switch s, const Player& player) {
  switch (s) {
    case Switch::MOUSE_LOOK: return player.MOUSE_ON != 0;
    case Switch::FLY: return player.fly != 0;
    case Switch::SOLID_WALLS: return player.solid_walls != 0;
    case Switch::WIRE_FRAME: return WIRE_FRAME != 0;
    case Switch::TEXTURED: return TEXTURED != 0;
    case Switch::HALF_RESOLUTION: return ISCALE != 0;
    case Switch::ANTI_ALIAS: return ANTI_ALIAS != 0;
    case Switch::NONE: break;
  }
  return false;
}
}  // namespace

unsigned switch_states(const Player& player) {
  unsigned bits = 0, bit = 1;
  for (const KeyHelp& k : KEY_TABLE) {
    if (k.shows == Switch::NONE) continue;
    if (switch_on(k.shows, player)) bits |= bit;
    bit <<= 1;
  }
  return bits;
}

std::vector<std::string> help_lines(const Player& player) {
  std::vector<std::string> lines{"Keys (F1 hides this help)", ""};
  for (const KeyHelp& k : KEY_TABLE) {
    std::string line = padded(k.keys, KEYS_WIDTH) + " " + padded(k.effect, EFFECT_WIDTH);
    if (k.shows != Switch::NONE) line += switch_on(k.shows, player) ? " on" : " off";
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string switch_summary(const Player& player) {
  std::string text;
  for (const KeyHelp& k : KEY_TABLE) {
    if (k.shows == Switch::NONE) continue;
    if (!text.empty()) text += ", ";
    text += std::string(k.effect) + (switch_on(k.shows, player) ? " on" : " off");
  }
  return text;
}

std::string key_usage_text() {
  std::string text = "keys in the window:\n";
  for (const KeyHelp& k : KEY_TABLE) {
    text += "  " + padded(k.keys, KEYS_WIDTH + 4) + " " + k.effect;
    if (k.shows != Switch::NONE) text += " on or off";
    text += "\n";
  }
  return text;
}

std::string mode_notice(const Player& player, bool framed_start) {
  if (!player.fly) return "Walking: F to fly";
  const std::string speed = ", wheel or + - for speed";
  if (framed_start) return "Flying, outside the model: F to walk" + speed;
  return "Flying: F to walk" + speed;
}
