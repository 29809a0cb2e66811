// The failure report and the bounded arrays that stop with it.
#include "test_support.h"

#include "platform/checked_array.h"

namespace {
std::string REPORT(int32_t NUMBER, int32_t LINE, const char* MODULE, const char* ROUTINE) {
  char OUT[512];
  return FORMAT_ERROR_REPORT(NUMBER, LINE, MODULE, ROUTINE, OUT, sizeof OUT);
}

TEST(FailureReport, TextForEachMessage) {
  const std::pair<int32_t, const char*> MESSAGES[] = {
      {1, "illegal function call"}, {2, "file not found"},    {3, "file I/O error"},
      {4, "out of memory"},         {6, "out of bounds array access"}, {7, "null pointer access"}};
  for (auto [NUMBER, MESSAGE] : MESSAGES)
    EXPECT_EQ(REPORT(NUMBER, 12, "obj.cpp", "LOAD_OBJ"),
              "\nAborting due to runtime error " + std::to_string(NUMBER) + " (" + MESSAGE +
                  ") at line 12 of obj.cpp::LOAD_OBJ()\n\n");
}

TEST(FailureReport, WithoutLineOrRoutine) {
  EXPECT_EQ(REPORT(2, 0, "main.cpp", "MAIN"),
            "\nAborting due to runtime error 2 (file not found) in main.cpp::MAIN()\n\n");
  EXPECT_EQ(REPORT(6, 40, "m.cpp", nullptr),
            "\nAborting due to runtime error 6 (out of bounds array access) at line 40 of m.cpp()\n\n");
  EXPECT_EQ(REPORT(7, -1, "m.cpp", ""),
            "\nAborting due to runtime error 7 (null pointer access) in m.cpp()\n\n");
}

TEST(FailureReport, IsCutToTheBuffer) {
  char OUT[16];
  FORMAT_ERROR_REPORT(6, 40, "module.cpp", "ROUTINE", OUT, sizeof OUT);
  EXPECT_EQ(std::string(OUT), "\nAborting due t");
}

// The exact text as an extended regular expression.
std::string LITERALLY(const std::string& TEXT) {
  std::string OUT;
  for (char C : TEXT) {
    if (std::strchr(".[]()*+?{}|^$\\", C)) OUT += '\\';
    OUT += C;
  }
  return OUT;
}

TEST(FailureReportDeathTest, RuntimeErrorPrintsTheReportAndExitsWithTheNumber) {
  const std::string EXACT = '^' + LITERALLY(REPORT(3, 77, "obj.cpp", "LOAD_OBJ")) + '$';
  EXPECT_EXIT(RUNTIME_ERROR(3, 77, "obj.cpp", "LOAD_OBJ"), testing::ExitedWithCode(3), EXACT);
  EXPECT_EXIT(FAIL(ERR_NULL_POINTER, "TFPCSPTRI_ORIG"), testing::ExitedWithCode(7),
              LITERALLY(" of fail_test.cpp::TFPCSPTRI_ORIG()"));
}

TEST(BoundedDeathTest, KeepsItsBoundsAndStopsOutsideThem) {
  BOUNDED<int, 1, 3> CORNERS{{10, 20, 30}};
  EXPECT_EQ(CORNERS(1), 10);
  EXPECT_EQ(CORNERS(3), 30);
  CORNERS(2) = 5;
  EXPECT_EQ(CORNERS.DATA()[1], 5);
  EXPECT_EXIT(CORNERS(0), testing::ExitedWithCode(6), LITERALLY("(out of bounds array access)"));
  EXPECT_EXIT(CORNERS(4), testing::ExitedWithCode(6), "");
  const BOUNDED<float, 0, 15> M{};
  EXPECT_EXIT(M(int64_t(1) << 33), testing::ExitedWithCode(6), "");
}
}  // namespace
