// The second line of a failure report for a file: the path as tried and why.
#include "test_support.h"
#include "base/bmp.h"
#include "base/fail.h"
#include "base/file_notes.h"
#include "base/image.h"
#include "base/text_file.h"

#include <sys/stat.h>

namespace {
std::string note_after(int32_t (*open)(const std::string&), const std::string& path) {
  set_failure_note("");
  EXPECT_NE(open(path), 0);
  return failure_note();
}
int32_t open_text(const std::string& path) {
  TextFile* file = nullptr;
  return file_open(path.c_str(), file);
}
int32_t open_bmp(const std::string& path) {
  IMAGE* img = image_create(4, 4);
  const int32_t result = load_bmp(path.c_str(), img);
  image_destroy(img);
  return result;
}
}  // namespace

TEST(FileNotes, AMissingFileIsNamedByItsFullPathWithTheHint) {
  set_missing_file_hint("--res DIR names the folder that holds res/");
  const std::string missing = scratch_path("none/res/model/maze.obj");
  for (auto open : {open_text, open_bmp}) {
    const std::string note = note_after(open, missing);
    EXPECT_EQ(note, missing + ": no such file; --res DIR names the folder that holds res/");
  }
  // A relative path is shown as the absolute path that was tried.
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(note_after(open_text, "no-such-folder/x.obj").rfind(std::string(cwd) + "/no-such-folder/x.obj: no such file", 0), 0u);
  set_missing_file_hint("");
  EXPECT_EQ(note_after(open_text, missing), missing + ": no such file");
}

TEST(FileNotes, AFolderAnUnreadableFileAndABadPictureSayWhy) {
  set_missing_file_hint("hint");
  std::filesystem::create_directories(scratch_path("a-folder.bmp"));
  for (auto open : {open_text, open_bmp})
    EXPECT_EQ(note_after(open, scratch_path("a-folder.bmp")),
              scratch_path("a-folder.bmp") + ": is a folder, not a file");
  const std::string text = write_scratch("not-a-picture.bmp", "plain words\n");
  EXPECT_EQ(open_bmp(text), ERR_FILE_IO);
  // The cause is the reader's to word; the note starts with the path as tried.
  EXPECT_EQ(std::string(failure_note()).rfind(text + ": ", 0), 0u) << failure_note();
  EXPECT_GT(std::string(failure_note()).size(), text.size() + 8) << failure_note();
  if (geteuid() != 0) {  // root reads everything
    const std::string locked = write_scratch("locked.obj", "v 1 2 3\n");
    chmod(locked.c_str(), 0);
    EXPECT_EQ(note_after(open_text, locked), locked + ": Permission denied");
  }
  set_missing_file_hint("");
  set_failure_note("");
}
