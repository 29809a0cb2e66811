// The one file a fuzz target loads: each input is written there afresh (a
// fresh file each time: rewriting one in place makes some file systems flush it
// to disk on every close). It lives in memory where the system has such a
// folder and is removed when the process ends.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz_input {

inline std::string& path() {
  static std::string p;
  return p;
}

inline void remove_file() { std::remove(path().c_str()); }

// Makes the file, named after STEM, once at start.
inline void create(const char* stem) {
  struct stat info;
  std::string folder = "/tmp";
  if (stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && access("/dev/shm", W_OK) == 0) {
    folder = "/dev/shm";
  } else if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) {
    folder = tmp;
  }
  std::string pattern = folder + "/" + stem + "_XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) std::abort();
  close(fd);
  path() = pattern;
  std::atexit(remove_file);
}

// Writes one input to the file.
inline void write(const uint8_t* data, size_t size) {
  unlink(path().c_str());
  std::FILE* out = std::fopen(path().c_str(), "wb");
  if (!out) std::abort();
  if (size && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
}

}  // namespace fuzz_input
