// The command line. Without arguments the program is the plain walk-through; the
// options serve testing, benchmarking and comfort.
#pragma once
#include <string>
#include <vector>

#include "platform/headless_host.h"

struct PROGRAM_OPTIONS {
  bool HEADLESS = false;
  bool BENCH = false;
  bool DEMO = false;
  bool SEED_GIVEN = false;
  int32_t SCALE = 1;
  std::string RES_DIR;     // the folder that holds res/; empty: the working directory
  std::string JSON_FILE;   // --bench results
  std::string INPUT_FILE;  // scripted input
  HEADLESS_SETTINGS HEADLESS_SETTINGS_;
};

// Reads argv. On a bad command line returns false with a message; on --help
// returns false with an empty message and the usage text in USAGE.
bool PARSE_OPTIONS(int ARGC, const char* const* ARGV, PROGRAM_OPTIONS& OPTIONS,
                   std::string& MESSAGE);
const char* USAGE_TEXT();

// The tour script that --demo plays, relative to the resource folder.
constexpr const char* DEMO_SCRIPT = "res/demo/tour.txt";
