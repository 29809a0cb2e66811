// The command line. Without arguments the program is the plain walk-through; the
// options serve testing, benchmarking and comfort.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/main_routine.h"
#include "platform/headless_host.h"

struct ProgramOptions {
  bool headless = false;
  bool bench = false;
  bool demo = false;
  bool fullscreen = false;
  bool help = false;     // print the usage and the keys, then stop
  bool version = false;  // print the version, then stop
  std::optional<uint64_t> seed;  // replaces the clock in every host; 0 is a seed too
  int32_t scale = 1;
  int32_t threads = 0;     // drawing threads; 0: as many as the hardware runs
  bool simd = true;        // false: the portable spans
  std::string res_dir;     // the folder that holds res/; empty: the working directory
  std::string json_file;   // --bench results
  std::vector<std::string> bench_modes;  // --bench: only these render modes; empty: all
  std::string input_file;  // scripted input
  AppOptions app;          // --maze, --maze-texture, --fly, --solid-walls, --spawn, --world-scale
  HeadlessSettings headless_settings_;
};

// Which run an option makes sense in; the others refuse it.
enum class OptionNeeds {
  NOTHING,
  HEADLESS,  // --headless, or --bench, which runs headless
  BENCH,
};

// Takes an option's value into OPTIONS (VALUE is nullptr for a flag). Returns
// "" or why the value was refused.
using OptionSetter = std::string (*)(ProgramOptions& options, const char* value);

// One option of the command line: parsing and the usage text both come from
// these rows.
struct OptionRow {
  const char* name;      // "--frames"
  const char* argument;  // the value as the usage shows it ("N"); nullptr: a flag
  const char* help;      // the usage line; nullptr: not listed (an alias)
  OptionNeeds needs;
  OptionSetter set;
};
std::span<const OptionRow> option_table();

// Reads argv. On a bad command line returns false with a message. --help and
// --version only set their flags.
bool parse_options(int argc, const char* const* argv, ProgramOptions& options,
                   std::string& message);
// The options, then the keys of the window.
std::string usage_text();
// "mazewalk 1.1.0"
std::string version_text();

// The folder that holds res/ when --res does not say: the first of CANDIDATES
// that has a res/ folder, or "" when none has.
std::string find_data_root(const std::vector<std::string>& candidates);
// Where the program looks for res/ without --res, in order: the working
// directory, the source tree it was built from, the data folder it is installed
// with (beside the program, then where the build put it).
std::vector<std::string> data_root_candidates();

// The tour script that --demo plays, relative to the resource folder.
constexpr const char* DEMO_SCRIPT = "res/demo/tour.txt";
