// A scratch folder that belongs to this test process alone: test programs of
// several build folders, or of several checkouts, run side by side.
#pragma once
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace test_files {
// Made on first use with a name no other process has, removed with all it
// holds when the process ends.
inline const std::filesystem::path& process_temp_folder() {
  struct Folder {
    std::filesystem::path path;
    Folder() {
      std::string pattern = (std::filesystem::temp_directory_path() / "mazewalk-test-XXXXXX").string();
      path = mkdtemp(pattern.data())
                 ? std::filesystem::path(pattern)
                 : std::filesystem::temp_directory_path() /
                       ("mazewalk-test-" + std::to_string(getpid()));
      std::error_code ignored;
      std::filesystem::create_directories(path, ignored);
    }
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  };
  static const Folder folder;
  return folder.path;
}

// NAME inside the process's scratch folder (not created).
inline std::filesystem::path temp_path(const std::string& name) {
  return process_temp_folder() / name;
}
}  // namespace test_files
