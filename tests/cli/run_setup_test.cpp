// Readying a run: the input scripts, the checks that a headless run ends, and
// the host each command line gets.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/run_setup.h"
#include "platform/input.h"
#include "temp_folder.h"

TEST(RunSetup, ScriptsThatCannotBeReadSayWhy) {
  const std::string good = test_files::temp_path("good.txt").string();
  const std::string bad = test_files::temp_path("bad.txt").string();
  std::ofstream(good) << "# walk, then stop\n2 down W\n9 down ESC\n";
  std::ofstream(bad) << "2 down W\n3 jump\n";
  const std::string folder = test_files::process_temp_folder().string();
  const std::string missing = test_files::temp_path("missing.txt").string();
  const struct {
    std::string path, message;  // "" for a script that reads
  } ROWS[] = {
      {good, ""},
      {folder, "the input script " + folder + " is a folder"},
      {missing, "cannot read input script " + missing},
      {bad, bad + ": line 2: "},
  };
  for (const auto& row : ROWS) {
    std::vector<InputEvent> events;
    std::string message;
    EXPECT_EQ(read_script(row.path, events, message), row.message.empty()) << row.path;
    EXPECT_TRUE(message.starts_with(row.message) && message.empty() == row.message.empty())
        << row.path << " gave " << message;
    if (row.message.empty()) {
      EXPECT_EQ(events.size(), 2u);
    }
  }
}

TEST(RunSetup, AHeadlessRunMustEndAndShootOnlyFramesItDraws) {
  const InputEvent escape_at_6{6, InputKind::DOWN, SC_ESCAPE, 0};
  const struct {
    int32_t escape_frame;
    std::vector<InputEvent> events;
    std::vector<int32_t> shots;
    const char* message;  // "" for a run that goes
  } ROWS[] = {
      {0, {}, {}, "this run would never end: give --frames N, or an input script that presses ESC"},
      {0, {{6, InputKind::UP, SC_ESCAPE, 0}}, {}, "this run would never end"},
      {5, {}, {5, 1}, ""},
      {5, {}, {1, 9}, "--shot 9 is after the last frame, 5"},
      {0, {escape_at_6}, {6}, ""},
      {9, {escape_at_6}, {7}, "--shot 7 is after the last frame, 6"},  // the earlier Escape ends it
  };
  for (const auto& row : ROWS) {
    HeadlessSettings settings;
    settings.escape_frame = row.escape_frame;
    settings.events = row.events;
    for (const int32_t frame : row.shots) settings.shots.push_back({frame, "x.png"});
    std::string message;
    EXPECT_EQ(check_run_ends(settings, message), *row.message == 0) << row.message;
    EXPECT_TRUE(message.starts_with(row.message)) << message;
  }
}

TEST(RunSetup, AGivenSeedReachesEveryHostZeroIncluded) {
  for (const std::optional<uint64_t> seed : {std::optional<uint64_t>(), std::optional<uint64_t>(0),
                                             std::optional<uint64_t>(42)}) {
    ProgramOptions o;
    o.seed = seed;
    o.scale = 3;
    o.fullscreen = true;
    const SdlSettings window = window_settings(o, "/shots");
    EXPECT_EQ(window.seed, seed);
    EXPECT_EQ(window.scale, 3);
    EXPECT_TRUE(window.fullscreen);
    EXPECT_EQ(window.shot_dir, "/shots");
    EXPECT_EQ(page_settings(o).seed, seed);
  }
  // The headless host takes it from its settings, ready for the run.
  ProgramOptions o;
  o.headless = true;
  o.seed = 0;
  o.headless_settings_.escape_frame = 1;
  o.res_dir = ".";
  std::string message;
  ASSERT_TRUE(prepare_run(o, message)) << message;
  const std::unique_ptr<Host> host = make_host(o, "");
  ASSERT_NE(dynamic_cast<HeadlessHost*>(host.get()), nullptr);
  EXPECT_EQ(host->seed_from_timer(), 0u);
}
