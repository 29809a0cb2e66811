// The demo tour in every render mode, and as scripted (flipping the switches
// as it goes), drawn on 1, 2 and 3 threads with every SIMD path this
// processor runs: every frame is the frame the portable spans draw on one
// thread, bit for bit (compared by a 64-bit hash of the whole page).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/bench_mode.h"
#include "cli/options.h"
#include "render/render_globals.h"

namespace {
// A hash of every byte of the page, four 64-bit lanes wide so that it keeps
// up with the drawing; any changed pixel changes it but for a 2^-64 chance.
uint64_t page_hash(const uint32_t* page, int32_t width, int32_t height) {
  const size_t words = size_t(width) * size_t(height) / 2;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(page);
  uint64_t lane[4] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                      0x27D4EB2F165667C5ull};
  size_t i = 0;
  for (; i + 4 <= words; i += 4)
    for (int k = 0; k < 4; ++k) {
      uint64_t w;
      std::memcpy(&w, bytes + (i + k) * 8, 8);
      lane[k] = (lane[k] ^ w) * 0xFF51AFD7ED558CCDull;
      lane[k] ^= lane[k] >> 29;
    }
  uint64_t h = uint64_t(width) << 32 | uint32_t(height);
  for (; i < words; ++i) {
    uint64_t w;
    std::memcpy(&w, bytes + i * 8, 8);
    h = (h ^ w) * 0xFF51AFD7ED558CCDull;
  }
  if (size_t(width) * size_t(height) % 2) h ^= page[size_t(width) * size_t(height) - 1];
  for (const uint64_t l : lane) h = ((h ^ l) * 0xC4CEB9FE1A85EC53ull) ^ (h >> 31);
  return h;
}

HeadlessSettings tour_settings() {
  std::ifstream in(std::string(MW_SOURCE_DIR) + "/" + DEMO_SCRIPT);
  std::stringstream text;
  text << in.rdbuf();
  HeadlessSettings settings;
  std::string error;
  EXPECT_TRUE(parse_input_script(text.str(), settings.events, error)) << error;
  return settings;
}

// The hash of every frame of the tour in MODE (null: as scripted).
std::vector<uint64_t> tour_hashes(const RenderMode* mode, int32_t threads, SimdPath path) {
  static const HeadlessSettings settings = tour_settings();
  simd_path = path;
  AppOptions app;
  app.draw_threads = threads;
  std::vector<uint64_t> hashes;
  play_headless(
      settings, mode,
      [&](const uint32_t* page, int32_t w, int32_t h) { hashes.push_back(page_hash(page, w, h)); },
      false, app);
  simd_path = SimdPath::PORTABLE;
  return hashes;
}

// The render modes of the benchmark, then the tour as scripted.
class TourFrames : public testing::TestWithParam<int> {
 protected:
  const RenderMode* mode() const {
    const auto& modes = render_modes();
    return size_t(GetParam()) < modes.size() ? &modes[size_t(GetParam())] : nullptr;
  }
};

TEST_P(TourFrames, EveryFrameMatchesOneThreadOnThePortableSpans) {
  const std::vector<uint64_t> reference = tour_hashes(mode(), 1, SimdPath::PORTABLE);
  ASSERT_GT(reference.size(), 1000u);
  for (const SimdPath path : {SimdPath::PORTABLE, SimdPath::AVX2}) {
    if (!simd_path_available(path)) {
      std::printf("this processor does not run the %s spans\n", simd_path_name(path));
      continue;
    }
    for (const int32_t threads : {1, 2, 3}) {
      if (threads == 1 && path == SimdPath::PORTABLE) continue;
      const std::vector<uint64_t> hashes = tour_hashes(mode(), threads, path);
      ASSERT_EQ(hashes.size(), reference.size());
      for (size_t f = 0; f < hashes.size(); ++f)
        ASSERT_EQ(hashes[f], reference[f]) << "frame " << f + 1 << " on " << threads << " threads, "
                                           << simd_path_name(path) << " spans";
    }
  }
}

std::string mode_name(const testing::TestParamInfo<int>& info) {
  const auto& modes = render_modes();
  if (size_t(info.param) >= modes.size()) return "AsScripted";
  std::string name;
  bool upper = true;
  for (const char c : std::string(modes[size_t(info.param)].name)) {
    if (c == ' ' || c == '-') {
      upper = true;
      continue;
    }
    name += upper ? char(std::toupper(c)) : c;
    upper = false;
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Modes, TourFrames, testing::Range(0, int(render_modes().size()) + 1),
                         mode_name);
}  // namespace
