// The failure note of a file: the path as tried and the cause in words.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/fail.h"
#include "base/file_notes.h"

namespace {
std::string missing_hint;

}  // namespace

std::string path_as_tried(const char* path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? std::string(path) : p.lexically_normal().string();
}

void set_missing_file_hint(const std::string& hint) {
  missing_hint = hint;
}

void note_file_failure(const char* path, const std::string& cause, bool missing) {
  std::string note = path_as_tried(path ? path : "") + ": " + cause;
  if (missing && !missing_hint.empty()) note += "; " + missing_hint;
  set_failure_note(note.c_str());
}

int32_t note_open_failure(const char* path) {
  if (!path || !*path) {
    note_file_failure("", "no file name", true);
    return ERR_FILE_NOT_FOUND;
  }
  struct stat info;
  if (stat(path, &info) != 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR)
      note_file_failure(path, "no such file", true);
    else
      note_file_failure(path, std::strerror(err), false);
  } else if (S_ISDIR(info.st_mode)) {
    note_file_failure(path, "is a folder, not a file", false);
  } else if (!S_ISREG(info.st_mode)) {
    note_file_failure(path, "is not a plain file", false);
  } else {
    std::FILE* f = std::fopen(path, "rb");
    const int err = errno;
    if (f) {
      std::fclose(f);
      note_file_failure(path, "cannot be opened", false);
    } else {
      note_file_failure(path, std::strerror(err), false);
    }
  }
  return ERR_FILE_NOT_FOUND;
}

std::FILE* open_plain_file(const char* path, uint64_t* size) {
  struct stat info;
  std::FILE* f = nullptr;
  if (path && stat(path, &info) == 0 && S_ISREG(info.st_mode)) f = std::fopen(path, "rb");
  if (!f) {
    note_open_failure(path);
    return nullptr;
  }
  if (size) *size = uint64_t(info.st_size);
  return f;
}
