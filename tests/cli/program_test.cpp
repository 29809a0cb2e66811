// The program as a user runs it: a child process with its exit status and output.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "scene_files.h"

namespace {
struct RunResult {
  int status;
  std::string out, err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the program with ARGS, PREFIX (an env command, say) in front of it.
RunResult run_in(const std::string& prefix, const std::string& args) {
  // Tests run in parallel: each keeps its own output files.
  const std::string stem =
      testing::TempDir() + "mw-" + testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string out = stem + "-out.txt", err = stem + "-err.txt";
  const std::string command = prefix + MW_PROGRAM + " " + args + " >" + out + " 2>" + err;
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
}

RunResult run(const std::string& args) {
  return run_in("", args);
}
}  // namespace

TEST(Program, MissingDataFileIsReportedWithStatusTwo) {
  const auto root = std::filesystem::temp_directory_path() / "mazewalk-nothing-here";
  std::filesystem::create_directories(root);
  const RunResult r = run("--headless --frames 1 --res " + root.string());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(r.err.starts_with("\nAborting due to runtime error 2 (file not found) at line "))
      << r.err;
  EXPECT_TRUE(r.err.ends_with(" of main_routine.cpp::MAIN_ROUTINE()\n\n")) << r.err;
}

TEST(Program, TextureThatIsNotABmpIsStatusThree) {
  const auto root = test_files::make_empty_scene("not-bmp");
  std::ofstream(root / "res" / "texture" / "wall.bmp") << "this is not a picture\n";
  const RunResult r = run("--headless --frames 1 --res " + root.string());
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("runtime error 3 (file I/O error)"), std::string::npos) << r.err;
}

TEST(Program, NoDisplayIsStatusOne) {
  const auto root = test_files::make_empty_scene("no-display");
  const RunResult r = run_in("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 ",
                              "--res " + root.string());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("runtime error 1 (illegal function call)"), std::string::npos) << r.err;
}

TEST(Program, FrameRateLineAppearsFromTheSecondFrame) {
  const auto root = test_files::make_empty_scene("fps");
  const RunResult first = run("--headless --frames 1 --res " + root.string());
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.out, "0 triangles rendered.\n\nx: 0, y: 50, z: 0\n\nOK!!\n");
  const RunResult second = run("--headless --frames 2 --res " + root.string());
  EXPECT_EQ(second.out, "0 triangles rendered.\nFPS: 1\nx: 0, y: 50, z: 0\n\nOK!!\n");
  // At 60 frames a second the line is renewed once a second with the count.
  const RunResult later = run("--headless --dt 16.667 --frames 200 --res " + root.string());
  EXPECT_NE(later.out.find("\nFPS: 60\n"), std::string::npos) << later.out;
}

TEST(Program, BadCommandLinesAreRefused) {
  EXPECT_EQ(run("--frames 0 --headless").status, 64);
  EXPECT_EQ(run("--frames").status, 64);
  EXPECT_EQ(run("--shot 5 --headless").status, 64);
  EXPECT_EQ(run("--demo").status, 64);  // needs --headless
  EXPECT_EQ(run("--scale 99").status, 64);
  EXPECT_EQ(run("--threads 0").status, 64);
  EXPECT_EQ(run("--threads 65").status, 64);
  EXPECT_EQ(run("--threads two").status, 64);
  EXPECT_EQ(run("--simd fast").status, 64);
  const RunResult help = run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--headless"), std::string::npos);
}

TEST(Program, ThreadsAndThePortablePathChangeNothingButSpeed) {
  const auto root = test_files::make_empty_scene("threads");
  const RunResult one = run("--headless --frames 3 --threads 1 --res " + root.string());
  const RunResult many = run("--headless --frames 3 --threads 3 --simd off --res " + root.string());
  EXPECT_EQ(one.status, 0);
  EXPECT_EQ(many.status, 0);
  EXPECT_EQ(one.out, many.out);
}

TEST(Program, BenchmarkRowsForOneThreadAndAll) {
  const auto root = test_files::make_empty_scene("bench-threads");
  const RunResult r = run("--bench --frames 4 --threads 2 --simd off --res " + root.string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("simd path: portable"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("threads"), std::string::npos) << r.out;
  for (const char* row : {"default                1", "default                2",
                          "flat                   1", "flat                   2"})
    EXPECT_NE(r.out.find(row), std::string::npos) << row << "\n" << r.out;
}
