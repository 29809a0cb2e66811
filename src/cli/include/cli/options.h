// The command line. Without arguments the program is the plain walk-through; the
// options serve testing, benchmarking and comfort.
#pragma once
#include <string>
#include <vector>

#include "platform/headless_host.h"

struct ProgramOptions {
  bool headless = false;
  bool bench = false;
  bool demo = false;
  bool seed_given = false;
  int32_t scale = 1;
  int32_t threads = 0;     // drawing threads; 0: as many as the hardware runs
  bool simd = true;        // false: the portable spans
  std::string res_dir;     // the folder that holds res/; empty: the working directory
  std::string json_file;   // --bench results
  std::string input_file;  // scripted input
  HeadlessSettings headless_settings_;
};

// Reads argv. On a bad command line returns false with a message; on --help
// returns false with an empty message and the usage text in USAGE.
bool parse_options(int argc, const char* const* argv, ProgramOptions& options,
                   std::string& message);
const char* usage_text();

// The tour script that --demo plays, relative to the resource folder.
constexpr const char* DEMO_SCRIPT = "res/demo/tour.txt";
