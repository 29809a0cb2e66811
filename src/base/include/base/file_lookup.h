// Finding the files that a model's libraries name, as other programs wrote them.
#pragma once
#include <string>

// The folder part of PATH ("" for a bare name).
std::string folder_of(const std::string& path);
// The file that WRITTEN names, relative to FOLDER, as another program may have
// written it: tried as it is, then with backslashes as slashes, then with each
// part of the path matched without regard to case, and last by its file name
// alone in FOLDER. Empty when no file is found.
std::string find_written_file(const std::string& folder, const std::string& written);
