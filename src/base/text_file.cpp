#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "base/fail.h"
#include "base/file_notes.h"
#include "base/text_file.h"

// A file is read from its handle in large blocks, or, when it is UTF-16,
// from its text decoded to UTF-8 once at open. Either way the bytes come from
// TEXT, AT to the end: a block at a time from the handle.
struct TextFile {
  std::FILE* handle = nullptr;
  std::string path;
  long start = 0;          // the first byte after a UTF-8 byte-order mark
  bool decoded = false;    // TEXT holds the whole file
  std::string text;
  size_t at = 0;
  // The first CR in TEXT at or after CR_FROM (TEXT's size for none): most
  // files have none, so it is looked for once a block rather than once a line.
  size_t cr_from = SIZE_MAX;
  size_t cr = 0;

  // True when a byte is waiting in TEXT, after reading the next block if needed.
  bool more() {
    if (at < text.size()) return true;
    if (decoded) return false;
    text.resize(BLOCK);
    text.resize(std::fread(text.data(), 1, BLOCK, handle));
    at = 0;
    cr_from = SIZE_MAX;
    return !text.empty();
  }
  int next() { return more() ? static_cast<unsigned char>(text[at++]) : EOF; }
  // Where the line that starts at AT ends: its CR or LF, or TEXT's end.
  size_t line_end() {
    if (cr_from > at || cr < at) {
      const void* found = std::memchr(text.data() + at, '\r', text.size() - at);
      cr = found ? size_t(static_cast<const char*>(found) - text.data()) : text.size();
      cr_from = at;
    }
    const void* lf = std::memchr(text.data() + at, '\n', cr - at);
    return lf ? size_t(static_cast<const char*>(lf) - text.data()) : cr;
  }
  int peek() { return more() ? static_cast<unsigned char>(text[at]) : EOF; }

  static constexpr size_t BLOCK = 1 << 16;
};

namespace {

void append_utf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out.push_back(char(code));
  } else if (code < 0x800) {
    out.push_back(char(0xC0 | (code >> 6)));
    out.push_back(char(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(char(0xE0 | (code >> 12)));
    out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(char(0x80 | (code & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (code >> 18)));
    out.push_back(char(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(char(0x80 | (code & 0x3F)));
  }
}

// The rest of HANDLE as UTF-16 (BIG_ENDIAN or not) turned into UTF-8. A lone
// half of a surrogate pair becomes U+FFFD, an odd last byte is dropped.
bool decode_utf16(std::FILE* handle, bool big_endian, std::string& out) {
  std::string units;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, handle)) > 0) units.append(buffer, n);
  if (std::ferror(handle)) return false;
  const auto unit = [&](size_t i) {
    const uint32_t a = static_cast<unsigned char>(units[i]), b = static_cast<unsigned char>(units[i + 1]);
    return big_endian ? (a << 8) | b : (b << 8) | a;
  };
  out.reserve(units.size() / 2);
  for (size_t i = 0; i + 1 < units.size(); i += 2) {
    uint32_t code = unit(i);
    if (code >= 0xD800 && code < 0xDC00 && i + 3 < units.size()) {
      const uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;
    append_utf8(out, code);
  }
  return true;
}

}  // namespace

// A byte-order mark tells the encoding: UTF-8's is skipped, UTF-16's (either
// byte order) has the file decoded; without one the bytes are read as they are.
int32_t file_open(const char* filename, TextFile*& file) {
  file = nullptr;
  std::FILE* handle = open_plain_file(filename);
  if (!handle) return ERR_FILE_NOT_FOUND;
  auto* opened = new TextFile;
  opened->handle = handle;
  opened->path = filename;
  unsigned char mark[3] = {0, 0, 0};
  const size_t got = std::fread(mark, 1, 3, handle);
  const bool utf16_le = got >= 2 && mark[0] == 0xFF && mark[1] == 0xFE;
  const bool utf16_be = got >= 2 && mark[0] == 0xFE && mark[1] == 0xFF;
  if (got == 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) opened->start = 3;
  if (std::fseek(handle, utf16_le || utf16_be ? 2 : opened->start, SEEK_SET) != 0 ||
      ((utf16_le || utf16_be) && !decode_utf16(handle, utf16_be, opened->text))) {
    note_file_failure(filename, "could not be read to the end", false);
    std::fclose(handle);
    delete opened;
    return ERR_FILE_NOT_FOUND;
  }
  opened->decoded = utf16_le || utf16_be;
  file = opened;
  return 0;
}

bool file_eof(TextFile* file) {
  if (!file || !file->handle) return true;
  return file->peek() == EOF;
}

// A line ends at LF, CR LF or a lone CR.
int32_t file_read_line(TextFile* file, std::string& line) {
  line.clear();
  if (!file || !file->handle) return ERR_FILE_IO;
  int c = EOF;
  // Whole runs of the block up to the line end at once.
  while (file->more()) {
    const char* data = file->text.data();
    const size_t size = file->text.size();
    size_t end = file->line_end();
    line.append(data + file->at, end - file->at);
    file->at = end;
    if (end < size) {
      c = static_cast<unsigned char>(data[file->at++]);
      break;
    }
  }
  if (c == '\r' && file->peek() == '\n') file->next();
  if (c == EOF && !file->decoded && std::ferror(file->handle)) {
    note_file_failure(file->path.c_str(), "could not be read to the end", false);
    return ERR_FILE_IO;
  }
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
  file->at = 0;
  file->cr_from = SIZE_MAX;
  if (file->decoded) return 0;
  file->text.clear();
  return std::fseek(file->handle, file->start, SEEK_SET) == 0 ? 0 : ERR_FILE_IO;
}
