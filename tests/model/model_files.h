// Helpers for the model tests: small OBJ files written into a temporary folder,
// and a record that is released when the test ends.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/model.h"

// Writes TEXT as NAME into this process's temporary folder; returns the path.
inline std::string WRITE_MODEL_FILE(const std::string& NAME, const std::string& TEXT) {
  static const std::filesystem::path FOLDER = [] {
    auto PATH = std::filesystem::temp_directory_path() /
                ("mazewalk_model_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(PATH);
    return PATH;
  }();
  const std::filesystem::path PATH = FOLDER / NAME;
  std::ofstream(PATH, std::ios::binary) << TEXT;
  return PATH.string();
}

inline void REMOVE_MODEL_FILES() {
  std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                              ("mazewalk_model_test_" + std::to_string(getpid())));
}

// A zero-filled record, released by UNLOAD_OBJ when it goes out of scope.
struct LOADED_MODEL {
  MODEL_STRUCT RECORD{};
  MODEL_STRUCT* PTR = &RECORD;

  LOADED_MODEL() = default;
  explicit LOADED_MODEL(const std::string& TEXT, const std::string& NAME = "model.obj") {
    LOAD_OBJ(WRITE_MODEL_FILE(NAME, TEXT), PTR);
  }
  ~LOADED_MODEL() { UNLOAD_OBJ(PTR); }
  LOADED_MODEL(const LOADED_MODEL&) = delete;
  LOADED_MODEL& operator=(const LOADED_MODEL&) = delete;

  MODEL_STRUCT* operator->() { return PTR; }
  TRIANGLE_STRUCT& TRIANGLE(uint32_t I) { return RECORD.TRIANGLES[I]; }
  const NMATHF::VEC3F& VERTEX(uint32_t I) { return RECORD.VERTICES[I]; }
};
