// The program as a user runs it: a child process with its exit status and output.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "scene_files.h"

namespace {
struct RUN_RESULT {
  int STATUS;
  std::string OUT, ERR;
};

std::string SLURP(const std::string& PATH) {
  std::ifstream IN(PATH, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(IN), {});
}

// Runs the program with ARGS, PREFIX (an env command, say) in front of it.
RUN_RESULT RUN_IN(const std::string& PREFIX, const std::string& ARGS) {
  // Tests run in parallel: each keeps its own output files.
  const std::string STEM =
      testing::TempDir() + "mw-" + testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string OUT = STEM + "-out.txt", ERR = STEM + "-err.txt";
  const std::string COMMAND = PREFIX + MW_PROGRAM + " " + ARGS + " >" + OUT + " 2>" + ERR;
  const int RAW = std::system(COMMAND.c_str());
  return {WIFEXITED(RAW) ? WEXITSTATUS(RAW) : -1, SLURP(OUT), SLURP(ERR)};
}

RUN_RESULT RUN(const std::string& ARGS) {
  return RUN_IN("", ARGS);
}
}  // namespace

TEST(Program, MissingDataFileIsReportedWithStatusTwo) {
  const auto ROOT = std::filesystem::temp_directory_path() / "mazewalk-nothing-here";
  std::filesystem::create_directories(ROOT);
  const RUN_RESULT R = RUN("--headless --frames 1 --res " + ROOT.string());
  EXPECT_EQ(R.STATUS, 2);
  EXPECT_EQ(R.OUT, "");
  EXPECT_TRUE(R.ERR.starts_with("\nAborting due to runtime error 2 (file not found) at line "))
      << R.ERR;
  EXPECT_TRUE(R.ERR.ends_with(" of main_routine.cpp::MAIN_ROUTINE()\n\n")) << R.ERR;
}

TEST(Program, TextureThatIsNotABmpIsStatusThree) {
  const auto ROOT = TEST_FILES::MAKE_EMPTY_SCENE("not-bmp");
  std::ofstream(ROOT / "res" / "texture" / "wall.bmp") << "this is not a picture\n";
  const RUN_RESULT R = RUN("--headless --frames 1 --res " + ROOT.string());
  EXPECT_EQ(R.STATUS, 3);
  EXPECT_NE(R.ERR.find("runtime error 3 (file I/O error)"), std::string::npos) << R.ERR;
}

TEST(Program, NoDisplayIsStatusOne) {
  const auto ROOT = TEST_FILES::MAKE_EMPTY_SCENE("no-display");
  const RUN_RESULT R = RUN_IN("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 ",
                              "--res " + ROOT.string());
  EXPECT_EQ(R.STATUS, 1);
  EXPECT_NE(R.ERR.find("runtime error 1 (illegal function call)"), std::string::npos) << R.ERR;
}

TEST(Program, FrameRateLineAppearsFromTheSecondFrame) {
  const auto ROOT = TEST_FILES::MAKE_EMPTY_SCENE("fps");
  const RUN_RESULT FIRST = RUN("--headless --frames 1 --res " + ROOT.string());
  EXPECT_EQ(FIRST.STATUS, 0);
  EXPECT_EQ(FIRST.OUT, "0 triangles rendered.\n\nx: 0, y: 50, z: 0\n\nOK!!\n");
  const RUN_RESULT SECOND = RUN("--headless --frames 2 --res " + ROOT.string());
  EXPECT_EQ(SECOND.OUT, "0 triangles rendered.\nFPS: 1\nx: 0, y: 50, z: 0\n\nOK!!\n");
  // At 60 frames a second the line is renewed once a second with the count.
  const RUN_RESULT LATER = RUN("--headless --dt 16.667 --frames 200 --res " + ROOT.string());
  EXPECT_NE(LATER.OUT.find("\nFPS: 60\n"), std::string::npos) << LATER.OUT;
}

TEST(Program, BadCommandLinesAreRefused) {
  EXPECT_EQ(RUN("--frames 0 --headless").STATUS, 64);
  EXPECT_EQ(RUN("--frames").STATUS, 64);
  EXPECT_EQ(RUN("--shot 5 --headless").STATUS, 64);
  EXPECT_EQ(RUN("--demo").STATUS, 64);  // needs --headless
  EXPECT_EQ(RUN("--scale 99").STATUS, 64);
  const RUN_RESULT HELP = RUN("--help");
  EXPECT_EQ(HELP.STATUS, 0);
  EXPECT_NE(HELP.OUT.find("--headless"), std::string::npos);
}
