// Text files read line by line, and the number text the program reads and writes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/fail.h"
#include <string>

// A text file read line by line; LF, CRLF and lone CR line ends are accepted,
// a UTF-8 byte-order mark is skipped and UTF-16 (either byte order, with its
// mark) is read as UTF-8.
// Every failure here and in load_bmp also sets the failure note: the path as
// tried and the cause in words (see set_failure_note), for the caller that stops.
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

// Words that follow the note of a file that does not exist: how to point the
// program at its data ("--res DIR names the folder that holds res/"). Empty: none.
void set_missing_file_hint(const std::string& hint);
// Sets the failure note for PATH: "<absolute path>: <CAUSE>", then the missing-
// file hint when MISSING.
void note_file_failure(const char* path, const std::string& cause, bool missing);
// The path as a note names it: absolute, so that it says which folder was tried.
std::string path_as_tried(const char* path);
// Finds out why PATH cannot be opened for reading and notes it. Returns
// ERR_FILE_NOT_FOUND; a PATH that can be opened is noted as unreadable anyway.
int32_t note_open_failure(const char* path);
// PATH, a plain file (a folder opens for reading on some systems but never
// yields a byte), open for reading and its size in bytes in SIZE; null with
// the failure note set (see note_open_failure).
std::FILE* open_plain_file(const char* path, uint64_t* size = nullptr);

// The folder part of PATH ("" for a bare name).
std::string folder_of(const std::string& path);
// The file that WRITTEN names, relative to FOLDER, as another program may have
// written it: tried as it is, then with backslashes as slashes, then with each
// part of the path matched without regard to case, and last by its file name
// alone in FOLDER. Empty when no file is found.
std::string find_written_file(const std::string& folder, const std::string& written);

// Text to number: leading blanks skipped, the longest decimal prefix (sign,
// digits, fraction, exponent) taken, 0 when there is none.
double val(const char* text);
double val(const std::string& text, size_t from = 0);
// Integer to decimal text.
std::string str(int64_t n);
