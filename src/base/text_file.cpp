#include <cstdio>
#include <sys/stat.h>

#include "base/fail.h"
#include "base/file_notes.h"
#include "base/text_file.h"

struct TextFile {
  std::FILE* handle;
  std::string path;
};

int32_t file_open(const char* filename, TextFile*& file) {
  file = nullptr;
  std::FILE* handle = open_plain_file(filename);
  if (!handle) return ERR_FILE_NOT_FOUND;
  file = new TextFile{handle, filename};
  return 0;
}

bool file_eof(TextFile* file) {
  if (!file || !file->handle) return true;
  const int c = std::fgetc(file->handle);
  if (c == EOF) return true;
  std::ungetc(c, file->handle);
  return false;
}

int32_t file_read_line(TextFile* file, std::string& line) {
  line.clear();
  if (!file || !file->handle) return ERR_FILE_IO;
  int c;
  while ((c = std::fgetc(file->handle)) != EOF && c != '\n') line.push_back(char(c));
  if (std::ferror(file->handle)) {
    note_file_failure(file->path.c_str(), "could not be read to the end", false);
    return ERR_FILE_IO;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return 0;
}

int32_t file_close(TextFile*& file) {
  if (!file) return ERR_FILE_IO;
  const int result = file->handle ? std::fclose(file->handle) : EOF;
  delete file;
  file = nullptr;
  return result == 0 ? 0 : ERR_FILE_IO;
}

int64_t file_size(TextFile* file) {
  struct stat info;
  if (!file || !file->handle || fstat(fileno(file->handle), &info) != 0) return -1;
  return int64_t(info.st_size);
}

int32_t file_rewind(TextFile* file) {
  if (!file || !file->handle) return ERR_FILE_IO;
  return std::fseek(file->handle, 0, SEEK_SET) == 0 ? 0 : ERR_FILE_IO;
}
