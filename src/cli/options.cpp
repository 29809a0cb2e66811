#include "cli/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
bool PARSE_INT(const char* TEXT, long long LO, long long HI, long long& OUT) {
  if (!TEXT || !*TEXT) return false;
  char* END = nullptr;
  errno = 0;
  const long long V = std::strtoll(TEXT, &END, 10);
  if (errno || *END || V < LO || V > HI) return false;
  OUT = V;
  return true;
}

bool PARSE_POSITIVE_DOUBLE(const char* TEXT, double& OUT) {
  if (!TEXT || !*TEXT) return false;
  char* END = nullptr;
  const double V = std::strtod(TEXT, &END);
  if (*END || !std::isfinite(V) || V < 0.0 || V > 1e6) return false;
  OUT = V;
  return true;
}
}  // namespace

const char* USAGE_TEXT() {
  return "usage: mazewalk [options]\n"
         "  --headless          no window: an in-memory page and a virtual clock\n"
         "  --frames N          Escape is pressed in frame N (headless)\n"
         "  --seed S            seed the random generator with S\n"
         "  --dt MS             virtual frame time in milliseconds (headless, default 16.667)\n"
         "  --input FILE        scripted input (headless)\n"
         "  --demo              the built-in tour of the maze (headless)\n"
         "  --shot N:FILE.png   write the page after frame N as PNG (headless, repeatable)\n"
         "  --bench             time the tour in every render mode and print a table\n"
         "  --json FILE         with --bench: also write the table as JSON\n"
         "  --res DIR           the folder that holds res/ (default: the working directory)\n"
         "  --scale N           window N times larger (window only)\n";
}

bool PARSE_OPTIONS(int ARGC, const char* const* ARGV, PROGRAM_OPTIONS& O, std::string& MESSAGE) {
  MESSAGE.clear();
  bool NEEDS_HEADLESS = false;
  std::string NEEDING;
  for (int I = 1; I < ARGC; ++I) {
    const std::string ARG = ARGV[I];
    const char* VALUE = I + 1 < ARGC ? ARGV[I + 1] : nullptr;
    auto NEED_VALUE = [&]() {
      if (!VALUE) MESSAGE = ARG + " needs a value";
      return VALUE != nullptr;
    };
    auto HEADLESS_ONLY = [&]() {
      NEEDS_HEADLESS = true;
      if (NEEDING.empty()) NEEDING = ARG;
    };
    long long N;
    if (ARG == "--help" || ARG == "-h") {
      return false;
    } else if (ARG == "--headless") {
      O.HEADLESS = true;
    } else if (ARG == "--demo") {
      O.DEMO = true;
      HEADLESS_ONLY();
    } else if (ARG == "--bench") {
      O.BENCH = true;
    } else if (ARG == "--frames") {
      if (!NEED_VALUE()) return false;
      if (!PARSE_INT(VALUE, 1, 100000000, N)) return MESSAGE = "--frames takes a frame number from 1", false;
      O.HEADLESS_SETTINGS_.ESCAPE_FRAME = int32_t(N);
      HEADLESS_ONLY();
      ++I;
    } else if (ARG == "--seed") {
      if (!NEED_VALUE()) return false;
      if (!PARSE_INT(VALUE, 0, INT64_MAX, N)) return MESSAGE = "--seed takes a whole number", false;
      O.HEADLESS_SETTINGS_.SEED = uint64_t(N);
      O.SEED_GIVEN = true;
      ++I;
    } else if (ARG == "--dt") {
      if (!NEED_VALUE()) return false;
      if (!PARSE_POSITIVE_DOUBLE(VALUE, O.HEADLESS_SETTINGS_.DT_MS))
        return MESSAGE = "--dt takes milliseconds from 0 to 1000000", false;
      HEADLESS_ONLY();
      ++I;
    } else if (ARG == "--input") {
      if (!NEED_VALUE()) return false;
      O.INPUT_FILE = VALUE;
      HEADLESS_ONLY();
      ++I;
    } else if (ARG == "--shot") {
      if (!NEED_VALUE()) return false;
      const char* COLON = std::strchr(VALUE, ':');
      if (!COLON || !COLON[1]) return MESSAGE = "--shot takes N:FILE.png", false;
      if (!PARSE_INT(std::string(VALUE, COLON).c_str(), 1, 100000000, N))
        return MESSAGE = "--shot takes N:FILE.png with N from 1", false;
      O.HEADLESS_SETTINGS_.SHOTS.push_back({int32_t(N), COLON + 1});
      HEADLESS_ONLY();
      ++I;
    } else if (ARG == "--json") {
      if (!NEED_VALUE()) return false;
      O.JSON_FILE = VALUE;
      ++I;
    } else if (ARG == "--res") {
      if (!NEED_VALUE()) return false;
      O.RES_DIR = VALUE;
      ++I;
    } else if (ARG == "--scale") {
      if (!NEED_VALUE()) return false;
      if (!PARSE_INT(VALUE, 1, 8, N)) return MESSAGE = "--scale takes a whole number from 1 to 8", false;
      O.SCALE = int32_t(N);
      ++I;
    } else {
      MESSAGE = "unknown option " + ARG;
      return false;
    }
  }
  if (NEEDS_HEADLESS && !O.HEADLESS && !O.BENCH) {
    MESSAGE = NEEDING + " needs --headless";
    return false;
  }
  if (!O.JSON_FILE.empty() && !O.BENCH) {
    MESSAGE = "--json goes with --bench";
    return false;
  }
  return true;
}
