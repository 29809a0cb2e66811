#include "cli/options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/key_table.h"
#include "app/screen_size.h"
#include "cli/bench_mode.h"
#include "render/draw_workers.h"

#ifndef MAZEWALK_VERSION
#define MAZEWALK_VERSION "unknown"
#endif

namespace {
bool parse_int(const char* text, long long lo, long long hi, long long& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text, &end, 10);
  if (errno || *end || v < lo || v > hi) return false;
  out = v;
  return true;
}

// A single-precision number that is finite as a single (1e39 is not).
bool parse_finite_float(const char* text, float& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (*end || !std::isfinite(v) || !std::isfinite(float(v))) return false;
  out = float(v);
  return true;
}

// "X,Y,Z": three finite numbers.
bool parse_point(const char* text, NMATHF::VEC3F& out) {
  if (!text) return false;
  const std::string s = text;
  const size_t a = s.find(','), b = a == std::string::npos ? a : s.find(',', a + 1);
  if (b == std::string::npos || s.find(',', b + 1) != std::string::npos) return false;
  return parse_finite_float(s.substr(0, a).c_str(), out.X) &&
         parse_finite_float(s.substr(a + 1, b - a - 1).c_str(), out.Y) &&
         parse_finite_float(s.substr(b + 1).c_str(), out.Z);
}

// "WxH" within the sizes the program draws at, or "window".
bool parse_screen_size(const char* text, ScreenSize& out) {
  const std::string s = text ? text : "";
  if (s == "window") {
    out.follow_window = true;
    return true;
  }
  const size_t x = s.find('x');
  long long w, h;
  if (x == std::string::npos || !parse_int(s.substr(0, x).c_str(), MIN_SCREEN_W, MAX_SCREEN_W, w) ||
      !parse_int(s.substr(x + 1).c_str(), MIN_SCREEN_H, MAX_SCREEN_H, h))
    return false;
  out = ScreenSize{int32_t(w), int32_t(h), false};
  return true;
}

bool parse_positive_double(const char* text, double& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (*end || !std::isfinite(v) || v < 0.0 || v > 1e6) return false;
  out = v;
  return true;
}

// Frame numbers on the command line count from 1.
constexpr long long LAST_FRAME = 100000000;

using enum OptionNeeds;

// What a setter returns for a value it took.
const std::string TAKEN;

// In the order the usage lists them. A new option is a row here and its field in
// ProgramOptions; README's Command line table lists it too (a test checks both).
const OptionRow OPTIONS[] = {
    {"--headless", nullptr, "no window: an in-memory page and a virtual clock", NOTHING,
     [](ProgramOptions& o, const char*) { o.headless = true; return TAKEN; }},
    {"--frames", "N", "Escape is pressed in frame N (headless)", HEADLESS,
     [](ProgramOptions& o, const char* v) {
       long long n;
       if (!parse_int(v, 1, LAST_FRAME, n)) return std::string("--frames takes a frame number from 1");
       o.headless_settings_.escape_frame = int32_t(n);
       return TAKEN;
     }},
    {"--seed", "S", "seed the random generator with S", NOTHING,
     [](ProgramOptions& o, const char* v) {
       long long n;
       if (!parse_int(v, 0, INT64_MAX, n)) return std::string("--seed takes a whole number");
       o.seed = uint64_t(n);
       return TAKEN;
     }},
    {"--dt", "MS", "virtual frame time in milliseconds (headless, default 16.667)", HEADLESS,
     [](ProgramOptions& o, const char* v) {
       if (!parse_positive_double(v, o.headless_settings_.dt_ms))
         return std::string("--dt takes milliseconds from 0 to 1000000");
       return TAKEN;
     }},
    {"--input", "FILE", "scripted input (headless)", HEADLESS,
     [](ProgramOptions& o, const char* v) { o.input_file = v; return TAKEN; }},
    {"--demo", nullptr, "the built-in tour of the maze (headless)", HEADLESS,
     [](ProgramOptions& o, const char*) { o.demo = true; return TAKEN; }},
    {"--shot", "N:FILE.png", "write the page after frame N as PNG (headless, repeatable)", HEADLESS,
     [](ProgramOptions& o, const char* v) {
       const char* colon = std::strchr(v, ':');
       if (!colon || !colon[1]) return std::string("--shot takes N:FILE.png");
       long long n;
       if (!parse_int(std::string(v, colon).c_str(), 1, LAST_FRAME, n))
         return std::string("--shot takes N:FILE.png with N from 1");
       o.headless_settings_.shots.push_back({int32_t(n), colon + 1});
       return TAKEN;
     }},
    {"--bench", nullptr, "time the tour in every render mode and print a table", NOTHING,
     [](ProgramOptions& o, const char*) { o.bench = true; return TAKEN; }},
    {"--json", "FILE", "with --bench: also write the table as JSON", BENCH,
     [](ProgramOptions& o, const char* v) { o.json_file = v; return TAKEN; }},
    {"--modes", "A,B", "with --bench: only these render modes (default, flat, ...)", BENCH,
     [](ProgramOptions& o, const char* v) {
       std::string names;
       for (const RenderMode& mode : render_modes())
         names += std::string(names.empty() ? "" : ", ") + mode.name;
       o.bench_modes.clear();
       for (const char* start = v;; ++start) {
         const char* comma = std::strchr(start, ',');
         const std::string name(start, comma ? comma : start + std::strlen(start));
         bool known = false;
         for (const RenderMode& mode : render_modes()) known = known || name == mode.name;
         if (!known) return "--modes takes names from: " + names;
         o.bench_modes.push_back(name);
         if (!comma) return TAKEN;
         start = comma;
       }
     }},
    {"--res", "DIR", "the folder that holds res/ (default: see below)", NOTHING,
     [](ProgramOptions& o, const char* v) { o.res_dir = v; return TAKEN; }},
    {"--scale", "N", "the window starts N times larger (window only)", NOTHING,
     [](ProgramOptions& o, const char* v) {
       long long n;
       if (!parse_int(v, 1, 8, n)) return std::string("--scale takes a whole number from 1 to 8");
       o.scale = int32_t(n);
       return TAKEN;
     }},
    {"--size", "WxH", "draw at W x H pixels (default 640x480); window: at the window's size", NOTHING,
     [](ProgramOptions& o, const char* v) {
       if (!parse_screen_size(v, o.app.screen))
         return "--size takes WxH (" + std::to_string(MIN_SCREEN_W) + "x" + std::to_string(MIN_SCREEN_H) +
                " to " + std::to_string(MAX_SCREEN_W) + "x" + std::to_string(MAX_SCREEN_H) + ") or window";
       return TAKEN;
     }},
    {"--fullscreen", nullptr, "start on the whole screen (window only; F11 toggles)", NOTHING,
     [](ProgramOptions& o, const char*) { o.fullscreen = true; return TAKEN; }},
    {"--maze", "FILE.obj", "walk through a model of your own instead of the maze", NOTHING,
     [](ProgramOptions& o, const char* v) { o.app.maze_model = v; return TAKEN; }},
    {"--maze-texture", "FILE.bmp", "the texture of that model (default: the sand)", NOTHING,
     [](ProgramOptions& o, const char* v) { o.app.maze_texture = v; return TAKEN; }},
    {"--spawn", "X,Y,Z", "start there: walking over a floor, else flying", NOTHING,
     [](ProgramOptions& o, const char* v) {
       NMATHF::VEC3F at;
       if (!parse_point(v, at)) return std::string("--spawn takes X,Y,Z: three numbers");
       o.app.spawn = at;
       return TAKEN;
     }},
    {"--world-scale", "F", "the maze model's coordinates times F (above 0)", NOTHING,
     [](ProgramOptions& o, const char* v) {
       float f;
       if (!parse_finite_float(v, f) || !(f > 0.0f)) return std::string("--world-scale takes a number above 0");
       o.app.world_scale = f;
       return TAKEN;
     }},
    {"--fly", nullptr, "start in fly mode, the free camera (F toggles it)", NOTHING,
     [](ProgramOptions& o, const char*) { o.app.modes.fly = -1; return TAKEN; }},
    {"--solid-walls", nullptr, "start with walls that stop the walker (C toggles them)", NOTHING,
     [](ProgramOptions& o, const char*) { o.app.modes.solid_walls = -1; return TAKEN; }},
    {"--threads", "N", "draw on N threads (default: as many as the hardware runs)", NOTHING,
     [](ProgramOptions& o, const char* v) {
       long long n;
       if (!parse_int(v, 1, MAX_DRAW_THREADS, n))
         return "--threads takes a whole number from 1 to " + std::to_string(MAX_DRAW_THREADS);
       o.threads = int32_t(n);
       return TAKEN;
     }},
    // The usage names the value that changes something; "on" is the default.
    {"--simd", "off", "fill spans with the portable code only", NOTHING,
     [](ProgramOptions& o, const char* v) {
       const std::string s = v;
       if (s != "off" && s != "on") return std::string("--simd takes off or on");
       o.simd = s == "on";
       return TAKEN;
     }},
    {"--version", nullptr, "print the version", NOTHING,
     [](ProgramOptions& o, const char*) { o.version = true; return TAKEN; }},
    {"--help", nullptr, "this text", NOTHING,
     [](ProgramOptions& o, const char*) { o.help = true; return TAKEN; }},
    {"-h", nullptr, nullptr, NOTHING,
     [](ProgramOptions& o, const char*) { o.help = true; return TAKEN; }},
};

const OptionRow* find_option(const std::string& name) {
  for (const OptionRow& row : OPTIONS)
    if (name == row.name) return &row;
  return nullptr;
}
}  // namespace

std::span<const OptionRow> option_table() {
  return OPTIONS;
}

std::string version_text() {
  return std::string("mazewalk ") + MAZEWALK_VERSION;
}

std::string usage_text() {
  // The option and its value in a column of 18, then two spaces and the help.
  std::string text = "usage: mazewalk [options]\n";
  for (const OptionRow& row : OPTIONS) {
    if (!row.help) continue;
    std::string left = row.name;
    if (row.argument) left += std::string(" ") + row.argument;
    left.resize(std::max<size_t>(left.size(), 18), ' ');
    text += "  " + left + "  " + row.help + "\n";
  }
  return text +
         "without --res, res/ is looked for in the working directory, then in the source\n"
         "tree the program was built from, then in its installed data folder\n\n" +
         key_usage_text();
}

std::string find_data_root(const std::vector<std::string>& candidates) {
  for (const std::string& folder : candidates) {
    std::error_code ec;
    if (!folder.empty() && std::filesystem::is_directory(std::filesystem::path(folder) / "res", ec))
      return folder;
  }
  return "";
}

std::vector<std::string> data_root_candidates() {
  std::vector<std::string> folders{"."};
#ifdef MAZEWALK_SOURCE_DIR
  folders.push_back(MAZEWALK_SOURCE_DIR);
#endif
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) folders.push_back((program.parent_path().parent_path() / "share" / "mazewalk").string());
#ifdef MAZEWALK_DATA_DIR
  folders.push_back(MAZEWALK_DATA_DIR);
#endif
  return folders;
}

bool parse_options(int argc, const char* const* argv, ProgramOptions& o, std::string& message) {
  message.clear();
  // The first option given that needs a headless run, and the first that needs --bench.
  std::string needs_headless, needs_bench;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const OptionRow* row = find_option(arg);
    if (!row) {
      message = "unknown option " + arg;
      return false;
    }
    const char* value = nullptr;
    if (row->argument) {
      if (i + 1 >= argc) {
        message = arg + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    message = row->set(o, value);
    if (!message.empty()) return false;
    std::string& first = row->needs == OptionNeeds::HEADLESS ? needs_headless : needs_bench;
    if (row->needs != OptionNeeds::NOTHING && first.empty()) first = arg;
  }
  if (!needs_headless.empty() && !o.headless && !o.bench) {
    message = needs_headless + " needs --headless";
    return false;
  }
  if (o.app.modes.fly && (o.demo || (o.bench && o.input_file.empty()))) {
    // The tour turns fly mode on itself, with F in its first frame.
    message = "--fly goes without the tour (--demo, --bench): it flies already";
    return false;
  }
  if (!needs_bench.empty() && !o.bench) {
    message = needs_bench + " goes with --bench";
    return false;
  }
  return true;
}
