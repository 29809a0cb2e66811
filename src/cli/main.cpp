// The executable: reads the command line, picks the host and runs the main routine.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/bench_mode.h"
#include "app/main_routine.h"
#include "cli/options.h"
#include "platform/fail.h"
#include "platform/headless_host.h"
#include "platform/sdl_host.h"

namespace {
constexpr int EXIT_USAGE = 64;

bool READ_SCRIPT(const std::string& PATH, std::vector<INPUT_EVENT>& EVENTS) {
  std::ifstream IN(PATH, std::ios::binary);
  if (!IN) {
    std::fprintf(stderr, "mazewalk: cannot read input script %s\n", PATH.c_str());
    return false;
  }
  std::stringstream TEXT;
  TEXT << IN.rdbuf();
  std::string ERROR;
  if (!PARSE_INPUT_SCRIPT(TEXT.str(), EVENTS, ERROR)) {
    std::fprintf(stderr, "mazewalk: %s: %s\n", PATH.c_str(), ERROR.c_str());
    return false;
  }
  return true;
}

std::string ABSOLUTE(const std::string& PATH) {
  std::error_code EC;
  const auto P = std::filesystem::absolute(PATH, EC);
  return EC ? PATH : P.string();
}
}  // namespace

int main(int argc, char** argv) {
  PROGRAM_OPTIONS O;
  std::string MESSAGE;
  if (!PARSE_OPTIONS(argc, argv, O, MESSAGE)) {
    if (MESSAGE.empty()) {
      std::fputs(USAGE_TEXT(), stdout);
      return 0;
    }
    std::fprintf(stderr, "mazewalk: %s\n%s", MESSAGE.c_str(), USAGE_TEXT());
    return EXIT_USAGE;
  }
  // Paths on the command line are relative to where the program was started.
  const std::string START_DIR = ABSOLUTE(".");
  HEADLESS_SETTINGS& HS = O.HEADLESS_SETTINGS_;
  if (!O.INPUT_FILE.empty() && !READ_SCRIPT(O.INPUT_FILE, HS.EVENTS)) return EXIT_USAGE;
  for (SHOT_REQUEST& SHOT : HS.SHOTS) SHOT.FILENAME = ABSOLUTE(SHOT.FILENAME);
  if (!O.JSON_FILE.empty()) O.JSON_FILE = ABSOLUTE(O.JSON_FILE);
  // The data files are read relative to the resource folder.
  if (!O.RES_DIR.empty() && chdir(O.RES_DIR.c_str()) != 0) {
    std::fprintf(stderr, "mazewalk: cannot enter %s\n", O.RES_DIR.c_str());
    return EXIT_USAGE;
  }
  if (O.DEMO && !READ_SCRIPT(DEMO_SCRIPT, HS.EVENTS)) return EXIT_USAGE;
  // The benchmark walks the tour unless given a script of its own.
  if (O.BENCH && !O.DEMO && O.INPUT_FILE.empty() && std::filesystem::exists(DEMO_SCRIPT) &&
      !READ_SCRIPT(DEMO_SCRIPT, HS.EVENTS))
    return EXIT_USAGE;

  if (O.BENCH) return RUN_BENCH(O);

  std::unique_ptr<HOST> H;
  HEADLESS_HOST* HEADLESS = nullptr;
  if (O.HEADLESS) {
    auto OWN = std::make_unique<HEADLESS_HOST>(HS);
    HEADLESS = OWN.get();
    H = std::move(OWN);
  } else {
    H = std::make_unique<SDL_HOST>(O.SCALE, O.SEED_GIVEN ? HS.SEED : 0, START_DIR);
  }
  HOST_SET(H.get());
  const int32_t STATUS = MAIN_ROUTINE();
  if (HEADLESS) {
    HEADLESS->FINISH();
    if (HEADLESS->SHOT_FAILURES() > 0) return ERR_FILE_IO;
  }
  return STATUS;
}
