// The option table: what each command line sets or why it is refused, and the
// usage and README that list the options.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/options.h"

namespace {
bool parse(const std::vector<const char*>& args, ProgramOptions& o, std::string& message) {
  std::vector<const char*> argv{"mazewalk"};
  argv.insert(argv.end(), args.begin(), args.end());
  return parse_options(int(argv.size()), argv.data(), o, message);
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}
}  // namespace

TEST(Options, BadCommandLinesSayWhy) {
  const struct {
    std::vector<const char*> args;
    const char* message;
  } ROWS[] = {
      {{"--nope"}, "unknown option --nope"},
      {{"--headless", "--frames"}, "--frames needs a value"},
      {{"--frames", "0", "--headless"}, "--frames takes a frame number from 1"},
      {{"--seed", "-1"}, "--seed takes a whole number"},
      {{"--dt", "nan", "--headless"}, "--dt takes milliseconds from 0 to 1000000"},
      {{"--shot", "5", "--headless"}, "--shot takes N:FILE.png"},
      {{"--shot", "x:a.png", "--headless"}, "--shot takes N:FILE.png with N from 1"},
      {{"--scale", "9"}, "--scale takes a whole number from 1 to 8"},
      {{"--threads", "0"}, "--threads takes a whole number from 1 to 64"},
      {{"--simd", "fast"}, "--simd takes off or on"},
      // The first option that needs a headless run is named.
      {{"--dt", "5", "--demo"}, "--dt needs --headless"},
      {{"--headless", "--demo", "--fly"}, "--fly goes without the tour (--demo, --bench): it flies already"},
      {{"--bench", "--fly"}, "--fly goes without the tour (--demo, --bench): it flies already"},
      {{"--headless", "--frames", "3", "--json", "a.json"}, "--json goes with --bench"},
      {{"--modes", "default", "--headless"}, "--modes goes with --bench"},
      {{"--bench", "--modes", "default,"},
       "--modes takes names from: default, anti-alias only, half-res only, both off, wire frame, flat"},
  };
  for (const auto& row : ROWS) {
    ProgramOptions o;
    std::string message;
    EXPECT_FALSE(parse(row.args, o, message)) << row.message;
    EXPECT_EQ(message, row.message);
  }
}

TEST(Options, GoodCommandLinesSetTheirFields) {
  ProgramOptions o;
  std::string message;
  ASSERT_TRUE(parse({"--bench", "--input", "a.txt", "--fly", "--json", "b.json", "--frames", "7",
                     "--shot", "3:c:d.png", "--shot", "5:e.png", "--seed", "0", "--threads", "2",
                     "--simd", "off", "--fullscreen", "--version", "-h", "--scale", "2",
                     "--modes", "flat,anti-alias only"},
                    o, message))
      << message;
  EXPECT_TRUE(o.bench && o.fullscreen && o.version && o.help);
  EXPECT_EQ(o.app.modes.fly, -1);
  EXPECT_EQ(o.input_file, "a.txt");
  EXPECT_EQ(o.json_file, "b.json");
  EXPECT_EQ(o.headless_settings_.escape_frame, 7);
  ASSERT_EQ(o.headless_settings_.shots.size(), 2u);
  EXPECT_EQ(o.headless_settings_.shots[0].frame, 3);
  EXPECT_EQ(o.headless_settings_.shots[0].filename, "c:d.png");
  EXPECT_EQ(o.seed, 0u);  // given: a seed like any other
  EXPECT_EQ(o.threads, 2);
  EXPECT_FALSE(o.simd);
  EXPECT_EQ(o.scale, 2);
  EXPECT_EQ(o.bench_modes, (std::vector<std::string>{"flat", "anti-alias only"}));
  ProgramOptions plain;
  ASSERT_TRUE(parse({}, plain, message));
  EXPECT_FALSE(plain.seed.has_value());
}

// Every listed option shows in the usage as "  --name VALUE" and in README's
// table as "| `--name VALUE` |".
TEST(Options, UsageAndReadmeListEveryOption) {
  const std::string usage = usage_text();
  const std::string readme = slurp(std::string(MW_SOURCE_DIR) + "/README.md");
  const size_t section = readme.find("## Command line");
  ASSERT_NE(section, std::string::npos);
  for (const OptionRow& row : option_table()) {
    if (!row.help) continue;
    const std::string shown = std::string(row.name) + (row.argument ? std::string(" ") + row.argument : "");
    EXPECT_NE(usage.find("\n  " + shown + "  "), std::string::npos) << shown;
    EXPECT_NE(readme.find("| `" + shown + "` |", section), std::string::npos) << shown;
  }
}
