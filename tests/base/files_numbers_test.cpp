// Text conversion and the line-by-line file reader.
#include <cstdlib>
#include <cstring>

#include "test_support.h"
#include "base/fail.h"
#include "base/numbers.h"
#include "base/file_lookup.h"
#include "base/text_file.h"

namespace {
TEST(Val, TakesTheLongestDecimalPrefixAfterBlanks) {
  const std::pair<const char*, double> cases[] = {
      {"42", 42},   {"   7.25", 7.25}, {"3e1", 30},  {"-2", -2},   {"1.5x", 1.5}, {"  .5", 0.5},
      {"-.5e-1", -0.05}, {"2.", 2}, {"7e", 7}, {"7e+", 7}, {"1 2", 1}, {"0.1", 0.1},
      {"0x10", 0},  {"e5", 0},   {"inf", 0},  {"nan", 0},  {"", 0},     {"  ", 0}, {".", 0}, {"-", 0}};
  for (auto [TEXT, NUMBER] : cases) EXPECT_EQ(val(TEXT), NUMBER) << '"' << TEXT << '"';
  EXPECT_EQ(val(nullptr), 0.0);
  EXPECT_EQ(val(std::string("v 1.5 -2"), 5), -2.0);
  EXPECT_EQ(val(std::string("v"), 9), 0.0);
  EXPECT_EQ(val(std::string(100, '9')), 1e100);  // longer than the small copy buffer
  EXPECT_EQ(str(-1234), "-1234");
}

// Short decimals are converted without strtod; every number must still come
// out as the very double strtod makes of it, halfway cases and signs included.
TEST(Val, GivesStrtodsDoubleBitForBit) {
  const auto same_as_strtod = [](const std::string& text) {
    const double expected = std::strtod(text.c_str(), nullptr), got = val(text);
    EXPECT_EQ(std::memcmp(&expected, &got, sizeof got), 0) << '"' << text << '"';
  };
  for (const char* text : {"0.1", "-0.000", "-0", "600.000", "-594.000", "0.3", "2.675", "1e22", "1e23",
                           "123456789012345", "1234567890123456", "9007199254740993", "1.000000000000000",
                           "8.98846567431158e307", "4.9e-324", "2e-308", "0.000000000000000000000001",
                           "1e-22", "1.5e-23", "000000000000000000012.5", "+3.25", "7e0022", "7e00022"})
    same_as_strtod(text);
  same_as_strtod("0." + std::string(400, '0') + "17");  // more fraction digits than any scale
  same_as_strtod(std::string(40, '7') + ".5e-3");
  // Random digits, points and exponents around the quick path's limits.
  uint64_t state = 12345;
  const auto next = [&](uint64_t below) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return (state >> 33) % below;
  };
  for (int i = 0; i < 20000; ++i) {
    std::string text = next(2) ? "-" : "";
    const uint64_t length = 1 + next(18), point = next(length + 1);
    for (uint64_t d = 0; d < length; ++d) {
      if (d == point) text += '.';
      text += char('0' + next(10));
    }
    if (next(2)) text += 'e' + std::to_string(int(next(60)) - 30);
    same_as_strtod(text);
  }
}

std::vector<std::string> read_all(const std::string& path) {
  TextFile* file = nullptr;
  EXPECT_EQ(file_open(path.c_str(), file), 0);
  std::vector<std::string> lines;
  std::string line;
  while (file && !file_eof(file) && lines.size() < 100) {
    EXPECT_EQ(file_read_line(file, line), 0);
    lines.push_back(line);
  }
  EXPECT_EQ(file_close(file), 0);
  EXPECT_EQ(file, nullptr);
  return lines;
}

TEST(TextFile, ReadsLinesWithoutTheirEnds) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(read_all(write_scratch("lf.txt", "a b\nc\n")), (Lines{"a b", "c"}));
  EXPECT_EQ(read_all(write_scratch("crlf.txt", "a\r\nb\r\n")), (Lines{"a", "b"}));
  EXPECT_EQ(read_all(write_scratch("open.txt", "a\nlast")), (Lines{"a", "last"}));
  EXPECT_EQ(read_all(write_scratch("blank.txt", "\n\r\nx\n\n")), (Lines{"", "", "x", ""}));
  EXPECT_EQ(read_all(write_scratch("empty.txt", "")), Lines{});
  EXPECT_EQ(read_all(write_scratch("cr.txt", "a\rb\r\rc")), (Lines{"a", "b", "", "c"}));
  EXPECT_EQ(read_all(write_scratch("mixed.txt", "a\nb\nc\rd\r\ne\nf\rg")),
            (Lines{"a", "b", "c", "d", "e", "f", "g"}));
  // Byte-order marks: UTF-8's is skipped, UTF-16 is read as UTF-8 (a pair of
  // surrogates as one character, a lone one as U+FFFD).
  EXPECT_EQ(read_all(write_scratch("bom8.txt", "\xEF\xBB\xBFv 1\n")), Lines{"v 1"});
  const std::string le("\xFF\xFEv\0 \0\xE9\0\r\0\n\0f\0\x3D\xD8\x00\xDE\x00\xD8", 20);
  EXPECT_EQ(read_all(write_scratch("utf16le.txt", le)), (Lines{"v \xC3\xA9", "f\xF0\x9F\x98\x80\xEF\xBF\xBD"}));
  const std::string be("\xFE\xFF\0v\0\r\0x", 8);
  EXPECT_EQ(read_all(write_scratch("utf16be.txt", be)), (Lines{"v", "x"}));
  // The file is read in blocks of 64 KiB: a line longer than a block, and a
  // CR LF cut by a block's end, read as they would in one piece.
  const std::string block(65535, 'x');
  EXPECT_EQ(read_all(write_scratch("blocks.txt", block + "\r\n" + block + block + "\ny")),
            (Lines{block, block + block, "y"}));
}

TEST(TextFile, RewindAfterAMarkStartsAtTheFirstLine) {
  for (const std::string& bytes : {std::string("\xEF\xBB\xBFone\n"), std::string("\xFF\xFEo\0n\0e\0", 8)}) {
    TextFile* file = nullptr;
    ASSERT_EQ(file_open(write_scratch("mark.txt", bytes).c_str(), file), 0);
    std::string line;
    ASSERT_EQ(file_read_line(file, line), 0);
    ASSERT_EQ(file_rewind(file), 0);
    ASSERT_EQ(file_read_line(file, line), 0);
    EXPECT_EQ(line, "one");
    EXPECT_TRUE(file_eof(file));
    EXPECT_EQ(file_close(file), 0);
  }
}

TEST(WrittenFile, FoundAsWrittenWithSlashesInAnyCaseOrByName) {
  std::filesystem::create_directories(test_files::process_temp_folder() / "Tex_Dir");
  const std::string file = write_scratch("Tex_Dir/Wood.JPG", "x");
  const std::string folder = folder_of(folder_of(file));
  ASSERT_EQ(folder_of(file), folder + "/Tex_Dir");
  EXPECT_EQ(find_written_file(folder, "Tex_Dir/Wood.JPG"), file);
  EXPECT_EQ(find_written_file(folder, "Tex_Dir\\Wood.JPG"), file);
  EXPECT_EQ(find_written_file(folder, ".\\tex_dir\\wood.jpg"), file);
  EXPECT_EQ(find_written_file(folder, "C:\\Users\\me\\WOOD.jpg"), "");  // not next to FOLDER
  EXPECT_EQ(find_written_file(folder + "/Tex_Dir", "C:\\Users\\me\\WOOD.jpg"), file);
  EXPECT_EQ(find_written_file(folder, "tex_dir/none.jpg"), "");
  EXPECT_EQ(find_written_file(folder, "tex_dir"), "");  // a folder is no file
  EXPECT_EQ(find_written_file(folder, ""), "");
}

TEST(TextFile, SizeAndRewind) {
  TextFile* file = nullptr;
  ASSERT_EQ(file_open(write_scratch("twice.txt", "one\ntwo\r\n").c_str(), file), 0);
  EXPECT_EQ(file_size(file), 9);
  std::string line;
  while (!file_eof(file)) ASSERT_EQ(file_read_line(file, line), 0);
  ASSERT_EQ(file_rewind(file), 0);
  EXPECT_FALSE(file_eof(file));
  EXPECT_EQ(file_read_line(file, line), 0);
  EXPECT_EQ(line, "one");
  EXPECT_EQ(file_close(file), 0);
  EXPECT_EQ(file_size(nullptr), -1);
  EXPECT_EQ(file_rewind(nullptr), ERR_FILE_IO);
}

TEST(TextFile, MissingFilesAndFoldersAreNotFound) {
  TextFile* file = nullptr;
  EXPECT_EQ(file_open(scratch_path("missing.txt").c_str(), file), ERR_FILE_NOT_FOUND);
  EXPECT_EQ(file_open(scratch_path("").c_str(), file), ERR_FILE_NOT_FOUND);  // the folder
  EXPECT_EQ(file, nullptr);
  std::string line = "old";
  EXPECT_EQ(file_read_line(nullptr, line), ERR_FILE_IO);
  EXPECT_EQ(file_close(file), ERR_FILE_IO);
}
}  // namespace
