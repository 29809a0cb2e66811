// The failure report and the bounded arrays that stop with it.
#include "test_support.h"

#include "base/checked_array.h"
#include "base/fail.h"

namespace {
std::string report(int32_t number, int32_t line, const char* module, const char* routine) {
  char out[512];
  return format_error_report(number, line, module, routine, out, sizeof out);
}

TEST(FailureReport, TextForEachMessage) {
  const std::pair<int32_t, const char*> messages[] = {
      {1, "illegal function call"}, {2, "file not found"},    {3, "file I/O error"},
      {4, "out of memory"},         {6, "out of bounds array access"}, {7, "null pointer access"}};
  for (auto [NUMBER, MESSAGE] : messages)
    EXPECT_EQ(report(NUMBER, 12, "obj.cpp", "LOAD_OBJ"),
              "\nAborting due to runtime error " + std::to_string(NUMBER) + " (" + MESSAGE +
                  ") at line 12 of obj.cpp::LOAD_OBJ()\n\n");
}

TEST(FailureReport, WithoutLineOrRoutine) {
  EXPECT_EQ(report(2, 0, "main.cpp", "MAIN"),
            "\nAborting due to runtime error 2 (file not found) in main.cpp::MAIN()\n\n");
  EXPECT_EQ(report(6, 40, "m.cpp", nullptr),
            "\nAborting due to runtime error 6 (out of bounds array access) at line 40 of m.cpp()\n\n");
  EXPECT_EQ(report(7, -1, "m.cpp", ""),
            "\nAborting due to runtime error 7 (null pointer access) in m.cpp()\n\n");
}

TEST(FailureReport, IsCutToTheBuffer) {
  char out[16];
  format_error_report(6, 40, "module.cpp", "ROUTINE", out, sizeof out);
  EXPECT_EQ(std::string(out), "\nAborting due t");
}

// The exact text as an extended regular expression.
std::string literally(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::strchr(".[]()*+?{}|^$\\", c)) out += '\\';
    out += c;
  }
  return out;
}

TEST(FailureReportDeathTest, RuntimeErrorPrintsTheReportAndExitsWithTheNumber) {
  const std::string exact = '^' + literally(report(3, 77, "obj.cpp", "LOAD_OBJ")) + '$';
  EXPECT_EXIT(runtime_error(3, 77, "obj.cpp", "LOAD_OBJ"), testing::ExitedWithCode(3), exact);
  EXPECT_EXIT(RUNTIME_FAIL(ERR_NULL_POINTER, "TFPCSPTRI_ORIG"), testing::ExitedWithCode(7),
              literally(" of fail_test.cpp::TFPCSPTRI_ORIG()"));
  // A note follows the unchanged report as a line of its own.
  const std::string noted = '^' + literally(report(2, 9, "m.cpp", "LOAD_OBJ")) +
                            literally("res/model/maze.obj: no such file\n") + '$';
  EXPECT_EXIT((set_failure_note("res/model/maze.obj: no such file"),
               runtime_error(2, 9, "m.cpp", "LOAD_OBJ")),
              testing::ExitedWithCode(2), noted);
}

TEST(BoundedDeathTest, KeepsItsBoundsAndStopsOutsideThem) {
  Bounded<int, 1, 3> corners{{10, 20, 30}};
  EXPECT_EQ(corners(1), 10);
  EXPECT_EQ(corners(3), 30);
  corners(2) = 5;
  EXPECT_EQ(corners.data()[1], 5);
  EXPECT_EXIT(corners(0), testing::ExitedWithCode(6), literally("(out of bounds array access)"));
  EXPECT_EXIT(corners(4), testing::ExitedWithCode(6), "");
  const Bounded<float, 0, 15> m{};
  EXPECT_EXIT(m(int64_t(1) << 33), testing::ExitedWithCode(6), "");
}
}  // namespace
