// The failure note of a file that cannot be read: the path as tried and the
// cause in words, for the caller that stops (see base/fail.h).
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

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
