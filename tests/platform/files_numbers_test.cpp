// Text conversion and the line-by-line file reader.
#include "test_support.h"

namespace {
TEST(Val, TakesTheLongestDecimalPrefixAfterBlanks) {
  const std::pair<const char*, double> CASES[] = {
      {"42", 42},   {"   7.25", 7.25}, {"3e1", 30},  {"-2", -2},   {"1.5x", 1.5}, {"  .5", 0.5},
      {"-.5e-1", -0.05}, {"2.", 2}, {"7e", 7}, {"7e+", 7}, {"1 2", 1}, {"0.1", 0.1},
      {"0x10", 0},  {"e5", 0},   {"inf", 0},  {"nan", 0},  {"", 0},     {"  ", 0}, {".", 0}, {"-", 0}};
  for (auto [TEXT, NUMBER] : CASES) EXPECT_EQ(VAL(TEXT), NUMBER) << '"' << TEXT << '"';
  EXPECT_EQ(VAL(nullptr), 0.0);
  EXPECT_EQ(VAL(std::string("v 1.5 -2"), 5), -2.0);
  EXPECT_EQ(VAL(std::string("v"), 9), 0.0);
  EXPECT_EQ(VAL(std::string(100, '9')), 1e100);  // longer than the small copy buffer
  EXPECT_EQ(STR(-1234), "-1234");
}

std::vector<std::string> READ_ALL(const std::string& PATH) {
  TEXT_FILE* FILE = nullptr;
  EXPECT_EQ(FILE_OPEN(PATH.c_str(), FILE), 0);
  std::vector<std::string> LINES;
  std::string LINE;
  while (FILE && !FILE_EOF(FILE) && LINES.size() < 100) {
    EXPECT_EQ(FILE_READ_LINE(FILE, LINE), 0);
    LINES.push_back(LINE);
  }
  EXPECT_EQ(FILE_CLOSE(FILE), 0);
  EXPECT_EQ(FILE, nullptr);
  return LINES;
}

TEST(TextFile, ReadsLinesWithoutTheirEnds) {
  using LINES = std::vector<std::string>;
  EXPECT_EQ(READ_ALL(WRITE_SCRATCH("lf.txt", "a b\nc\n")), (LINES{"a b", "c"}));
  EXPECT_EQ(READ_ALL(WRITE_SCRATCH("crlf.txt", "a\r\nb\r\n")), (LINES{"a", "b"}));
  EXPECT_EQ(READ_ALL(WRITE_SCRATCH("open.txt", "a\nlast")), (LINES{"a", "last"}));
  EXPECT_EQ(READ_ALL(WRITE_SCRATCH("blank.txt", "\n\r\nx\n\n")), (LINES{"", "", "x", ""}));
  EXPECT_EQ(READ_ALL(WRITE_SCRATCH("empty.txt", "")), LINES{});
}

TEST(TextFile, MissingFilesAndFoldersAreNotFound) {
  TEXT_FILE* FILE = nullptr;
  EXPECT_EQ(FILE_OPEN(SCRATCH_PATH("missing.txt").c_str(), FILE), ERR_FILE_NOT_FOUND);
  EXPECT_EQ(FILE_OPEN(SCRATCH_PATH("").c_str(), FILE), ERR_FILE_NOT_FOUND);  // the folder
  EXPECT_EQ(FILE, nullptr);
  std::string LINE = "old";
  EXPECT_EQ(FILE_READ_LINE(nullptr, LINE), ERR_FILE_IO);
  EXPECT_EQ(FILE_CLOSE(FILE), ERR_FILE_IO);
}
}  // namespace
