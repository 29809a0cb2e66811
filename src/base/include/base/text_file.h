// Text files read line by line.
#pragma once
#include <cstdint>
#include <string>

// A text file read line by line; LF, CRLF and lone CR line ends are accepted,
// a UTF-8 byte-order mark is skipped and UTF-16 (either byte order, with its
// mark) is read as UTF-8.
// Every failure here also sets the failure note: the path as tried and the
// cause in words (see base/file_notes.h), for the caller that stops.
struct TextFile;
// 0 and a handle, or ERR_FILE_NOT_FOUND (missing, unreadable or a folder).
int32_t file_open(const char* filename, TextFile*& file);
bool file_eof(TextFile* file);
// The next line without its line end. 0 or ERR_FILE_IO.
int32_t file_read_line(TextFile* file, std::string& line);
// Closes and frees the handle. 0 or ERR_FILE_IO.
int32_t file_close(TextFile*& file);
// The file's size in bytes, or -1 when it cannot be told.
int64_t file_size(TextFile* file);
// Back to the first line. 0 or ERR_FILE_IO.
int32_t file_rewind(TextFile* file);
