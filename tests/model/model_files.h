// Helpers for the model tests: small OBJ files written into a temporary folder,
// and a record that is released when the test ends.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>

#include "model/model.h"
#include "temp_folder.h"

// Writes TEXT as NAME into this process's temporary folder; returns the path.
inline std::string write_model_file(const std::string& name, const std::string& text) {
  const std::filesystem::path path = test_files::temp_path(name);
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

// A zero-filled record, released by UNLOAD_OBJ when it goes out of scope.
struct LoadedModel {
  MODEL_STRUCT record{};
  MODEL_STRUCT* ptr = &record;

  LoadedModel() = default;
  explicit LoadedModel(const std::string& text, const std::string& name = "model.obj") {
    LOAD_OBJ(write_model_file(name, text), ptr);
  }
  ~LoadedModel() { UNLOAD_OBJ(ptr); }
  LoadedModel(const LoadedModel&) = delete;
  LoadedModel& operator=(const LoadedModel&) = delete;

  MODEL_STRUCT* operator->() { return ptr; }
  TRIANGLE_STRUCT& triangle(uint32_t i) { return record.TRIANGLES[i]; }
  const NMATHF::VEC3F& vertex(uint32_t i) { return record.VERTICES[i]; }
};
