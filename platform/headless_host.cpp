#include "platform/headless_host.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "base/png.h"
#include "platform/input.h"

namespace {
int32_t scancode_of(const std::string& name) {
  static const struct { const char* name; int32_t code; } KEYS[] = {
      {"ESC", SC_ESCAPE}, {"1", SC_1}, {"2", SC_2}, {"3", SC_3}, {"4", SC_4},
      {"W", SC_W},        {"A", SC_A}, {"S", SC_S}, {"D", SC_D}, {"M", SC_M},
      {"SPACE", SC_SPACE}, {"F", SC_F}, {"C", SC_C}, {"R", SC_R}, {"HOME", SC_HOME}};
  std::string upper = name;
  for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
  for (const auto& k : KEYS)
    if (upper == k.name) return k.code;
  // A plain number is a scan code ("1" to "4" above are the digit keys).
  char* end = nullptr;
  const long code = std::strtol(name.c_str(), &end, 10);
  if (end && *end == 0 && code > 0 && code < 256) return int32_t(code);
  return -1;
}

// A script coordinate moved from the script page's centre to CENTRE; far off
// values stay far off (outside any page) without overflowing.
int32_t from_script_centre(int32_t v, int32_t script_centre, int32_t centre) {
  return int32_t(std::clamp<int64_t>(int64_t(v) - script_centre + centre, -(int64_t(1) << 30),
                                     int64_t(1) << 30));
}
}  // namespace

bool parse_input_script(const std::string& text, std::vector<InputEvent>& events,
                        std::string& error) {
  std::istringstream in(text);
  std::string line;
  int line_no = 0;
  while (std::getline(in, line)) {
    ++line_no;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string frame_text, kind;
    if (!(words >> frame_text)) continue;  // blank or comment
    auto bad = [&](const std::string& why) {
      error = "line " + std::to_string(line_no) + ": " + why;
      return false;
    };
    char* end = nullptr;
    const long frame = std::strtol(frame_text.c_str(), &end, 10);
    if (*end != 0 || frame < 1 || frame > 100000000) return bad("frame must be a number from 1");
    if (!(words >> kind)) return bad("event missing");
    InputEvent e{int32_t(frame), InputKind::MOUSE, 0, 0};
    if (kind == "mouse") {
      long x, y;
      if (!(words >> x >> y)) return bad("mouse needs x and y");
      e.a = int32_t(std::clamp<long>(x, -100000, 100000));
      e.b = int32_t(std::clamp<long>(y, -100000, 100000));
    } else if (kind == "down" || kind == "up") {
      std::string key;
      if (!(words >> key)) return bad("key missing");
      e.kind = kind == "down" ? InputKind::DOWN : InputKind::UP;
      e.a = scancode_of(key);
      if (e.a < 0) return bad("unknown key " + key);
    } else {
      return bad("unknown event " + kind);
    }
    std::string extra;
    if (words >> extra) return bad("unexpected " + extra);
    events.push_back(e);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const InputEvent& l, const InputEvent& r) { return l.frame < r.frame; });
  return true;
}

int32_t HeadlessSettings::last_frame() const {
  int32_t last = escape_frame > 0 ? escape_frame : 0;
  for (const InputEvent& e : events)
    if (e.kind == InputKind::DOWN && e.a == SC_ESCAPE && (last == 0 || e.frame < last))
      last = e.frame;
  return last;
}

HeadlessHost::HeadlessHost(HeadlessSettings settings) : settings_(std::move(settings)) {
  if (settings_.escape_frame > 0)
    settings_.events.push_back({settings_.escape_frame, InputKind::DOWN, SC_ESCAPE, 0});
  std::stable_sort(settings_.events.begin(), settings_.events.end(),
                   [](const InputEvent& l, const InputEvent& r) { return l.frame < r.frame; });
}

int32_t HeadlessHost::open(int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
  return 0;
}

void HeadlessHost::apply_events() {
  const int32_t now = frame();
  if (applied_frame_ == now) return;
  applied_frame_ = now;
  while (next_event_ < settings_.events.size() && settings_.events[next_event_].frame <= now) {
    const InputEvent& e = settings_.events[next_event_++];
    switch (e.kind) {
      // Read against the script page's centre, so a script turns alike on any page.
      case InputKind::MOUSE:
        mouse_x_ = from_script_centre(e.a, SCRIPT_CENTRE_X, width_ / 2);
        mouse_y_ = from_script_centre(e.b, SCRIPT_CENTRE_Y, height_ / 2);
        break;
      case InputKind::DOWN: held_[e.a & 255] = true; break;
      case InputKind::UP: held_[e.a & 255] = false; break;
    }
  }
}

void HeadlessHost::present(const uint32_t* page, int32_t width, int32_t height) {
  ++frames_done_;
  for (const ShotRequest& shot : settings_.shots)
    if (shot.frame == frames_done_ &&
        save_png(shot.filename.c_str(), page, width, height, width * 4) != 0) {
      std::fprintf(stderr, "mazewalk: cannot write %s\n", shot.filename.c_str());
      ++shot_failures_;
    }
  text_.end_frame();
}

int32_t HeadlessHost::key_held(int32_t scancode) {
  apply_events();
  return (scancode > 0 && scancode < 256 && held_[scancode]) ? -1 : 0;
}

void HeadlessHost::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  apply_events();
  const bool inside = mouse_x_ >= 0 && mouse_y_ >= 0 && mouse_x_ < width_ && mouse_y_ < height_;
  x = inside ? mouse_x_ : -1;
  y = inside ? mouse_y_ : -1;
  wheel = 0;
  buttons = 0;
}

void HeadlessHost::set_mouse(int32_t x, int32_t y, int32_t visible, int32_t /*CONFINE*/) {
  apply_events();
  if (x != MOUSE_UNCHANGED) mouse_x_ = std::clamp(x, 0, std::max(width_ - 1, 0));
  if (y != MOUSE_UNCHANGED) mouse_y_ = std::clamp(y, 0, std::max(height_ - 1, 0));
  if (visible == 1) cursor_visible_ = true;
  if (visible == 0) cursor_visible_ = false;
}

double HeadlessHost::timer() {
  // Starts at 1 s so that the first frame's reading is later than "never".
  return 1.0 + double(frames_done_) * settings_.dt_ms / 1000.0;
}

void HeadlessHost::sleep(int32_t ms) {
  slept_ms_ += ms;
}

void HeadlessHost::text_line(const char* text) {
  text_.add(text);
}

void HeadlessHost::finish() {
  if (!settings_.echo_text) return;
  for (const std::string& l : text_.last_and_since()) std::printf("%s\n", l.c_str());
  std::fflush(stdout);
}
