#include "web_page.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

const KeyCode WEB_KEYS[] = {
    {"Digit1", 2}, {"Digit2", 3}, {"Digit3", 4}, {"Digit4", 5}, {"Digit5", 6}, {"Digit6", 7},
    {"Digit7", 8}, {"Digit8", 9}, {"Digit9", 10}, {"Digit0", 11}, {"Minus", 12}, {"Equal", 13},
    {"Backspace", 14}, {"KeyQ", 16}, {"KeyW", 17}, {"KeyE", 18}, {"KeyR", 19},
    {"KeyT", 20}, {"KeyY", 21}, {"KeyU", 22}, {"KeyI", 23}, {"KeyO", 24}, {"KeyP", 25},
    {"BracketLeft", 26}, {"BracketRight", 27}, {"Enter", 28}, {"ControlLeft", 29}, {"KeyA", 30},
    {"KeyS", 31}, {"KeyD", 32}, {"KeyF", 33}, {"KeyG", 34}, {"KeyH", 35}, {"KeyJ", 36},
    {"KeyK", 37}, {"KeyL", 38}, {"Semicolon", 39}, {"Quote", 40}, {"Backquote", 41},
    {"ShiftLeft", 42}, {"Backslash", 43}, {"KeyZ", 44}, {"KeyX", 45}, {"KeyC", 46}, {"KeyV", 47},
    {"KeyB", 48}, {"KeyN", 49}, {"KeyM", 50}, {"Comma", 51}, {"Period", 52}, {"Slash", 53},
    {"ShiftRight", 54}, {"NumpadMultiply", 55}, {"AltLeft", 56}, {"Space", 57}, {"CapsLock", 58},
    {"F1", 59}, {"F2", 60}, {"F3", 61}, {"F4", 62}, {"F5", 63}, {"F6", 64}, {"F7", 65},
    {"F8", 66}, {"F9", 67}, {"F10", 68}, {"NumLock", 69}, {"ScrollLock", 70},
    // 71 is keypad 7 in set 1 and Home at once; as in the window it is Home.
    {"Home", 71}, {"Numpad8", 72}, {"Numpad9", 73}, {"NumpadSubtract", 74}, {"Numpad4", 75},
    {"Numpad5", 76}, {"Numpad6", 77}, {"NumpadAdd", 78}, {"Numpad1", 79}, {"Numpad2", 80},
    {"Numpad3", 81}, {"Numpad0", 82}, {"NumpadDecimal", 83}};
const size_t WEB_KEY_COUNT = sizeof WEB_KEYS / sizeof WEB_KEYS[0];

int32_t scancode_of_key_code(const char* code) {
  if (!code) return 0;
  for (const KeyCode& k : WEB_KEYS)
    if (std::strcmp(k.code, code) == 0) return k.scancode;
  return 0;
}

void page_to_canvas(const uint32_t* page, uint32_t* canvas, size_t count) {
  // Bytes B, G, R, A in memory become R, G, B, 255: red and blue change places.
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = page[i];
    canvas[i] = 0xFF000000u | (p & 0x0000FF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16;
  }
}

bool canvas_device_pixels(double css_w, double css_h, double ratio, int32_t& width, int32_t& height) {
  // Far above any page, and well inside int32_t, so that the conversion is defined.
  constexpr double LARGEST = 1 << 20;
  const double w = std::round(css_w * ratio), h = std::round(css_h * ratio);
  if (!std::isfinite(w) || !std::isfinite(h) || w < 1.0 || h < 1.0) return false;
  width = int32_t(std::min(w, LARGEST));
  height = int32_t(std::min(h, LARGEST));
  return true;
}

std::vector<std::string> page_help(const std::vector<std::string>& window_lines) {
  struct Change {
    const char* keys;
    const char* new_keys;  // null: the line goes
    const char* effect;
  };
  static const Change CHANGES[] = {{"Esc", "Esc", "free the mouse (the walk pauses)"},
                                   {"F11, Alt+Enter", "F11", "the browser's full screen"},
                                   {"F12", nullptr, nullptr}};
  std::vector<std::string> lines;
  for (const std::string& line : window_lines) {
    const Change* change = nullptr;
    for (const Change& c : CHANGES) {
      const size_t n = std::strlen(c.keys);
      if (line.compare(0, n, c.keys) == 0 && line.size() > n && line[n] == ' ') change = &c;
    }
    if (!change) {
      lines.push_back(line);
      continue;
    }
    if (!change->new_keys) continue;
    const size_t keys_end = std::strlen(change->keys);
    const size_t effect_at = line.find_first_not_of(' ', keys_end);
    std::string keys = change->new_keys;
    keys.resize(std::max(keys.size(), effect_at == std::string::npos ? keys_end + 1 : effect_at), ' ');
    lines.push_back(keys + change->effect);
  }
  return lines;
}
