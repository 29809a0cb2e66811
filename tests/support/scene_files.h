// A throw-away resource folder for running the whole program in tests.
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "temp_folder.h"

namespace test_files {
inline void write_bmp(const std::filesystem::path& path, int32_t w, int32_t h, uint32_t rgb) {
  const int32_t row = (w * 3 + 3) / 4 * 4;
  const uint32_t body = uint32_t(row * h);
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out.write("BM", 2);
  u32(54 + body), u32(0), u32(54);
  u32(40), u32(uint32_t(w)), u32(uint32_t(h)), u16(1), u16(24), u32(0), u32(body), u32(2835),
      u32(2835), u32(0), u32(0);
  std::string line(size_t(row), '\0');
  for (int32_t x = 0; x < w; ++x) {
    line[size_t(x) * 3] = char(rgb & 255);
    line[size_t(x) * 3 + 1] = char((rgb >> 8) & 255);
    line[size_t(x) * 3 + 2] = char((rgb >> 16) & 255);
  }
  for (int32_t y = 0; y < h; ++y) out.write(line.data(), row);
}

// A model file whose one triangle lies thousands of units away, beyond the far
// plane wherever its entity stands: it loads, and nothing of it is drawn.
constexpr const char* FAR_AWAY_MODEL =
    "# one triangle far away\nv 9000 9000 9000\nv 9001 9000 9000\nv 9000 9001 9000\nf 1 2 3\n";

// res/ with three models whose triangles are never drawn and three plain
// textures: the render queue stays empty. Returns the folder that holds res/.
inline std::filesystem::path make_empty_scene(const std::string& name) {
  const auto root = temp_path(name);
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "res" / "model");
  std::filesystem::create_directories(root / "res" / "texture");
  for (const char* m : {"maze", "cube", "ufo"})
    std::ofstream(root / "res" / "model" / (std::string(m) + ".obj")) << FAR_AWAY_MODEL;
  for (const char* t : {"sand", "wall", "ufouvmap"})
    write_bmp(root / "res" / "texture" / (std::string(t) + ".bmp"), 256, 256, 0xC8B478);
  return root;
}
}  // namespace test_files
