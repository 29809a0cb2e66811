#include <cstdio>
#include <sys/stat.h>

#include "platform/platform.h"

struct TEXT_FILE {
  std::FILE* HANDLE;
};

int32_t FILE_OPEN(const char* FILENAME, TEXT_FILE*& FILE) {
  FILE = nullptr;
  if (!FILENAME) return ERR_FILE_NOT_FOUND;
  // A folder opens for reading on some systems but never yields a line.
  struct stat INFO;
  if (stat(FILENAME, &INFO) != 0 || !S_ISREG(INFO.st_mode)) return ERR_FILE_NOT_FOUND;
  std::FILE* HANDLE = std::fopen(FILENAME, "rb");
  if (!HANDLE) return ERR_FILE_NOT_FOUND;
  FILE = new TEXT_FILE{HANDLE};
  return 0;
}

bool FILE_EOF(TEXT_FILE* FILE) {
  if (!FILE || !FILE->HANDLE) return true;
  const int C = std::fgetc(FILE->HANDLE);
  if (C == EOF) return true;
  std::ungetc(C, FILE->HANDLE);
  return false;
}

int32_t FILE_READ_LINE(TEXT_FILE* FILE, std::string& LINE) {
  LINE.clear();
  if (!FILE || !FILE->HANDLE) return ERR_FILE_IO;
  int C;
  while ((C = std::fgetc(FILE->HANDLE)) != EOF && C != '\n') LINE.push_back(char(C));
  if (std::ferror(FILE->HANDLE)) return ERR_FILE_IO;
  if (!LINE.empty() && LINE.back() == '\r') LINE.pop_back();
  return 0;
}

int32_t FILE_CLOSE(TEXT_FILE*& FILE) {
  if (!FILE) return ERR_FILE_IO;
  const int RESULT = FILE->HANDLE ? std::fclose(FILE->HANDLE) : EOF;
  delete FILE;
  FILE = nullptr;
  return RESULT == 0 ? 0 : ERR_FILE_IO;
}
