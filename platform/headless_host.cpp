#include "platform/headless_host.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/platform.h"

namespace {
int32_t SCANCODE_OF(const std::string& NAME) {
  static const struct { const char* NAME; int32_t CODE; } KEYS[] = {
      {"ESC", SC_ESCAPE}, {"1", SC_1}, {"2", SC_2}, {"3", SC_3}, {"4", SC_4},
      {"W", SC_W},        {"A", SC_A}, {"S", SC_S}, {"D", SC_D}, {"M", SC_M},
      {"SPACE", SC_SPACE}};
  std::string UPPER = NAME;
  for (char& C : UPPER) C = char(std::toupper(static_cast<unsigned char>(C)));
  for (const auto& K : KEYS)
    if (UPPER == K.NAME) return K.CODE;
  // A plain number is a scan code ("1" to "4" above are the digit keys).
  char* END = nullptr;
  const long CODE = std::strtol(NAME.c_str(), &END, 10);
  if (END && *END == 0 && CODE > 0 && CODE < 256) return int32_t(CODE);
  return -1;
}
}  // namespace

bool PARSE_INPUT_SCRIPT(const std::string& TEXT, std::vector<INPUT_EVENT>& EVENTS,
                        std::string& ERROR) {
  std::istringstream IN(TEXT);
  std::string LINE;
  int LINE_NO = 0;
  while (std::getline(IN, LINE)) {
    ++LINE_NO;
    const size_t HASH = LINE.find('#');
    if (HASH != std::string::npos) LINE.resize(HASH);
    std::istringstream WORDS(LINE);
    std::string FRAME_TEXT, KIND;
    if (!(WORDS >> FRAME_TEXT)) continue;  // blank or comment
    auto BAD = [&](const std::string& WHY) {
      ERROR = "line " + std::to_string(LINE_NO) + ": " + WHY;
      return false;
    };
    char* END = nullptr;
    const long FRAME = std::strtol(FRAME_TEXT.c_str(), &END, 10);
    if (*END != 0 || FRAME < 1 || FRAME > 100000000) return BAD("frame must be a number from 1");
    if (!(WORDS >> KIND)) return BAD("event missing");
    INPUT_EVENT E{int32_t(FRAME), INPUT_KIND::MOUSE, 0, 0};
    if (KIND == "mouse") {
      long X, Y;
      if (!(WORDS >> X >> Y)) return BAD("mouse needs x and y");
      E.A = int32_t(std::clamp<long>(X, -100000, 100000));
      E.B = int32_t(std::clamp<long>(Y, -100000, 100000));
    } else if (KIND == "down" || KIND == "up") {
      std::string KEY;
      if (!(WORDS >> KEY)) return BAD("key missing");
      E.KIND = KIND == "down" ? INPUT_KIND::DOWN : INPUT_KIND::UP;
      E.A = SCANCODE_OF(KEY);
      if (E.A < 0) return BAD("unknown key " + KEY);
    } else {
      return BAD("unknown event " + KIND);
    }
    std::string EXTRA;
    if (WORDS >> EXTRA) return BAD("unexpected " + EXTRA);
    EVENTS.push_back(E);
  }
  std::stable_sort(EVENTS.begin(), EVENTS.end(),
                   [](const INPUT_EVENT& L, const INPUT_EVENT& R) { return L.FRAME < R.FRAME; });
  return true;
}

HEADLESS_HOST::HEADLESS_HOST(HEADLESS_SETTINGS SETTINGS) : SETTINGS_(std::move(SETTINGS)) {
  if (SETTINGS_.ESCAPE_FRAME > 0)
    SETTINGS_.EVENTS.push_back({SETTINGS_.ESCAPE_FRAME, INPUT_KIND::DOWN, SC_ESCAPE, 0});
  std::stable_sort(SETTINGS_.EVENTS.begin(), SETTINGS_.EVENTS.end(),
                   [](const INPUT_EVENT& L, const INPUT_EVENT& R) { return L.FRAME < R.FRAME; });
}

int32_t HEADLESS_HOST::OPEN(int32_t WIDTH, int32_t HEIGHT) {
  WIDTH_ = WIDTH;
  HEIGHT_ = HEIGHT;
  return 0;
}

void HEADLESS_HOST::APPLY_EVENTS() {
  const int32_t NOW = FRAME();
  if (APPLIED_FRAME_ == NOW) return;
  APPLIED_FRAME_ = NOW;
  while (NEXT_EVENT_ < SETTINGS_.EVENTS.size() && SETTINGS_.EVENTS[NEXT_EVENT_].FRAME <= NOW) {
    const INPUT_EVENT& E = SETTINGS_.EVENTS[NEXT_EVENT_++];
    switch (E.KIND) {
      case INPUT_KIND::MOUSE: MOUSE_X_ = E.A; MOUSE_Y_ = E.B; break;
      case INPUT_KIND::DOWN: HELD_[E.A & 255] = true; break;
      case INPUT_KIND::UP: HELD_[E.A & 255] = false; break;
    }
  }
}

void HEADLESS_HOST::PRESENT(const uint32_t* PAGE, int32_t WIDTH, int32_t HEIGHT) {
  ++FRAMES_DONE_;
  for (const SHOT_REQUEST& SHOT : SETTINGS_.SHOTS)
    if (SHOT.FRAME == FRAMES_DONE_ &&
        SAVE_PNG(SHOT.FILENAME.c_str(), PAGE, WIDTH, HEIGHT, WIDTH * 4) != 0) {
      std::fprintf(stderr, "mazewalk: cannot write %s\n", SHOT.FILENAME.c_str());
      ++SHOT_FAILURES_;
    }
  LAST_FRAME_TEXT_.swap(TEXT_SINCE_);
  TEXT_SINCE_.clear();
}

int32_t HEADLESS_HOST::KEY_HELD(int32_t SCANCODE) {
  APPLY_EVENTS();
  return (SCANCODE > 0 && SCANCODE < 256 && HELD_[SCANCODE]) ? -1 : 0;
}

void HEADLESS_HOST::GET_MOUSE(int32_t& X, int32_t& Y, int32_t& WHEEL, int32_t& BUTTONS) {
  APPLY_EVENTS();
  const bool INSIDE = MOUSE_X_ >= 0 && MOUSE_Y_ >= 0 && MOUSE_X_ < WIDTH_ && MOUSE_Y_ < HEIGHT_;
  X = INSIDE ? MOUSE_X_ : -1;
  Y = INSIDE ? MOUSE_Y_ : -1;
  WHEEL = 0;
  BUTTONS = 0;
}

void HEADLESS_HOST::SET_MOUSE(int32_t X, int32_t Y, int32_t VISIBLE, int32_t /*CONFINE*/) {
  APPLY_EVENTS();
  if (X != MOUSE_UNCHANGED) MOUSE_X_ = std::clamp(X, 0, std::max(WIDTH_ - 1, 0));
  if (Y != MOUSE_UNCHANGED) MOUSE_Y_ = std::clamp(Y, 0, std::max(HEIGHT_ - 1, 0));
  if (VISIBLE == 1) CURSOR_VISIBLE_ = true;
  if (VISIBLE == 0) CURSOR_VISIBLE_ = false;
}

double HEADLESS_HOST::TIMER() {
  // Starts at 1 s so that the first frame's reading is later than "never".
  return 1.0 + double(FRAMES_DONE_) * SETTINGS_.DT_MS / 1000.0;
}

void HEADLESS_HOST::SLEEP(int32_t MS) {
  SLEPT_MS_ += MS;
}

void HEADLESS_HOST::TEXT_LINE(const char* TEXT) {
  TEXT_SINCE_.emplace_back(TEXT);
}

void HEADLESS_HOST::FINISH() {
  if (!SETTINGS_.ECHO_TEXT) return;
  for (const std::string& L : LAST_FRAME_TEXT_) std::printf("%s\n", L.c_str());
  for (const std::string& L : TEXT_SINCE_) std::printf("%s\n", L.c_str());
  std::fflush(stdout);
}
