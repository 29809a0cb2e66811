#include "cli/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/key_table.h"
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

bool parse_positive_double(const char* text, double& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (*end || !std::isfinite(v) || v < 0.0 || v > 1e6) return false;
  out = v;
  return true;
}
}  // namespace

std::string version_text() {
  return std::string("mazewalk ") + MAZEWALK_VERSION;
}

std::string usage_text() {
  return std::string("usage: mazewalk [options]\n")+
         "  --headless          no window: an in-memory page and a virtual clock\n"
         "  --frames N          Escape is pressed in frame N (headless)\n"
         "  --seed S            seed the random generator with S\n"
         "  --dt MS             virtual frame time in milliseconds (headless, default 16.667)\n"
         "  --input FILE        scripted input (headless)\n"
         "  --demo              the built-in tour of the maze (headless)\n"
         "  --shot N:FILE.png   write the page after frame N as PNG (headless, repeatable)\n"
         "  --bench             time the tour in every render mode and print a table\n"
         "  --json FILE         with --bench: also write the table as JSON\n"
         "  --res DIR           the folder that holds res/ (default: see below)\n"
         "  --scale N           the window starts N times larger (window only)\n"
         "  --fullscreen        start on the whole screen (window only; F11 toggles)\n"
         "  --maze FILE.obj     walk through a model of your own instead of the maze\n"
         "  --maze-texture FILE.bmp  the texture of that model (default: the sand)\n"
         "  --spawn X,Y,Z       start there: walking over a floor, else flying\n"
         "  --world-scale F     the maze model's coordinates times F (above 0)\n"
         "  --fly               start in fly mode, the free camera (F toggles it)\n"
         "  --solid-walls       start with walls that stop the walker (C toggles them)\n"
         "  --threads N         draw on N threads (default: as many as the hardware runs)\n"
         "  --simd off          fill spans with the portable code only\n"
         "  --version           print the version\n"
         "  --help              this text\n"
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
  bool needs_headless = false;
  std::string needing;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    auto need_value = [&]() {
      if (!value) message = arg + " needs a value";
      return value != nullptr;
    };
    auto headless_only = [&]() {
      needs_headless = true;
      if (needing.empty()) needing = arg;
    };
    long long n;
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--fullscreen") {
      o.fullscreen = true;
    } else if (arg == "--headless") {
      o.headless = true;
    } else if (arg == "--demo") {
      o.demo = true;
      headless_only();
    } else if (arg == "--bench") {
      o.bench = true;
    } else if (arg == "--frames") {
      if (!need_value()) return false;
      if (!parse_int(value, 1, 100000000, n)) return message = "--frames takes a frame number from 1", false;
      o.headless_settings_.escape_frame = int32_t(n);
      headless_only();
      ++i;
    } else if (arg == "--seed") {
      if (!need_value()) return false;
      if (!parse_int(value, 0, INT64_MAX, n)) return message = "--seed takes a whole number", false;
      o.headless_settings_.seed = uint64_t(n);
      o.seed_given = true;
      ++i;
    } else if (arg == "--dt") {
      if (!need_value()) return false;
      if (!parse_positive_double(value, o.headless_settings_.dt_ms))
        return message = "--dt takes milliseconds from 0 to 1000000", false;
      headless_only();
      ++i;
    } else if (arg == "--input") {
      if (!need_value()) return false;
      o.input_file = value;
      headless_only();
      ++i;
    } else if (arg == "--shot") {
      if (!need_value()) return false;
      const char* colon = std::strchr(value, ':');
      if (!colon || !colon[1]) return message = "--shot takes N:FILE.png", false;
      if (!parse_int(std::string(value, colon).c_str(), 1, 100000000, n))
        return message = "--shot takes N:FILE.png with N from 1", false;
      o.headless_settings_.shots.push_back({int32_t(n), colon + 1});
      headless_only();
      ++i;
    } else if (arg == "--json") {
      if (!need_value()) return false;
      o.json_file = value;
      ++i;
    } else if (arg == "--maze" || arg == "--maze-texture") {
      if (!need_value()) return false;
      (arg == "--maze" ? o.app.maze_model : o.app.maze_texture) = value;
      ++i;
    } else if (arg == "--res") {
      if (!need_value()) return false;
      o.res_dir = value;
      ++i;
    } else if (arg == "--spawn") {
      if (!need_value()) return false;
      NMATHF::VEC3F at;
      if (!parse_point(value, at)) return message = "--spawn takes X,Y,Z: three numbers", false;
      o.app.spawn = at;
      ++i;
    } else if (arg == "--world-scale") {
      if (!need_value()) return false;
      float f = 0.0f;
      if (!parse_finite_float(value, f) || !(f > 0.0f))
        return message = "--world-scale takes a number above 0", false;
      o.app.world_scale = f;
      ++i;
    } else if (arg == "--fly") {
      o.app.modes.fly = -1;
    } else if (arg == "--solid-walls") {
      o.app.modes.solid_walls = -1;
    } else if (arg == "--scale") {
      if (!need_value()) return false;
      if (!parse_int(value, 1, 8, n)) return message = "--scale takes a whole number from 1 to 8", false;
      o.scale = int32_t(n);
      ++i;
    } else if (arg == "--threads") {
      if (!need_value()) return false;
      if (!parse_int(value, 1, MAX_DRAW_THREADS, n))
        return message = "--threads takes a whole number from 1 to " +
                         std::to_string(MAX_DRAW_THREADS),
               false;
      o.threads = int32_t(n);
      ++i;
    } else if (arg == "--simd") {
      if (!need_value()) return false;
      const std::string v = value;
      if (v != "off" && v != "on") return message = "--simd takes off or on", false;
      o.simd = v == "on";
      ++i;
    } else {
      message = "unknown option " + arg;
      return false;
    }
  }
  if (needs_headless && !o.headless && !o.bench) {
    message = needing + " needs --headless";
    return false;
  }
  if (o.app.modes.fly && (o.demo || (o.bench && o.input_file.empty()))) {
    // The tour turns fly mode on itself, with F in its first frame.
    message = "--fly goes without the tour (--demo, --bench): it flies already";
    return false;
  }
  if (!o.json_file.empty() && !o.bench) {
    message = "--json goes with --bench";
    return false;
  }
  return true;
}
