// A throw-away resource folder for running the whole program in tests.
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace TEST_FILES {
inline void WRITE_BMP(const std::filesystem::path& PATH, int32_t W, int32_t H, uint32_t RGB) {
  const int32_t ROW = (W * 3 + 3) / 4 * 4;
  const uint32_t BODY = uint32_t(ROW * H);
  std::ofstream OUT(PATH, std::ios::binary);
  auto U32 = [&](uint32_t V) { OUT.write(reinterpret_cast<const char*>(&V), 4); };
  auto U16 = [&](uint16_t V) { OUT.write(reinterpret_cast<const char*>(&V), 2); };
  OUT.write("BM", 2);
  U32(54 + BODY), U32(0), U32(54);
  U32(40), U32(uint32_t(W)), U32(uint32_t(H)), U16(1), U16(24), U32(0), U32(BODY), U32(2835),
      U32(2835), U32(0), U32(0);
  std::string LINE(size_t(ROW), '\0');
  for (int32_t X = 0; X < W; ++X) {
    LINE[size_t(X) * 3] = char(RGB & 255);
    LINE[size_t(X) * 3 + 1] = char((RGB >> 8) & 255);
    LINE[size_t(X) * 3 + 2] = char((RGB >> 16) & 255);
  }
  for (int32_t Y = 0; Y < H; ++Y) OUT.write(LINE.data(), ROW);
}

// res/ with three models without triangles and three plain textures: the render
// queue stays empty. Returns the folder that holds res/.
inline std::filesystem::path MAKE_EMPTY_SCENE(const std::string& NAME) {
  const auto ROOT = std::filesystem::temp_directory_path() / ("mazewalk-" + NAME);
  std::filesystem::remove_all(ROOT);
  std::filesystem::create_directories(ROOT / "res" / "model");
  std::filesystem::create_directories(ROOT / "res" / "texture");
  for (const char* M : {"maze", "cube", "ufo"})
    std::ofstream(ROOT / "res" / "model" / (std::string(M) + ".obj")) << "# an empty model\n";
  for (const char* T : {"sand", "wall", "ufouvmap"})
    WRITE_BMP(ROOT / "res" / "texture" / (std::string(T) + ".bmp"), 256, 256, 0xC8B478);
  return ROOT;
}
}  // namespace TEST_FILES
