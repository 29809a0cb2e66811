// The one key table: the help overlay, the title and --help read it.
#include <gtest/gtest.h>

#include <set>

#include "app/key_table.h"
#include "render/render_buffers.h"
#include "render/render_globals.h"

TEST(KeyTable, HelpShowsEverySwitchStateAndFitsThePage) {
  Player player;
  reset_render_state();
  WIRE_FRAME = 0;
  player.MOUSE_ON = -1;
  std::vector<std::string> lines = help_lines(player);
  ASSERT_EQ(lines.size(), std::size(KEY_TABLE) + 2);
  EXPECT_EQ(lines[0], "Keys (F1 hides this help)");
  for (const std::string& line : lines) EXPECT_LE(line.size() * 8 + 24, 640u) << line;
  EXPECT_EQ(lines[2 + 8], "1               wire frame                       off");
  EXPECT_EQ(lines[2 + 7], "M               mouse look                       on");
  EXPECT_EQ(lines[2 + 3], "F               fly mode                         off");
  EXPECT_EQ(lines[2], "Mouse           look around");

  const unsigned before = switch_states(player);
  WIRE_FRAME = ~WIRE_FRAME;
  EXPECT_NE(switch_states(player), before);
  EXPECT_EQ(help_lines(player)[2 + 8], "1               wire frame                       on");
  player.MOUSE_ON = 0;
  player.solid_walls = -1;
  EXPECT_EQ(switch_summary(player),
            "fly mode off, solid walls on, mouse look off, wire frame on, textures on, "
            "half-resolution drawing on, anti-aliasing on");
  WIRE_FRAME = 0;
}

TEST(KeyTable, EveryKeyIsListedOnceAndEverySwitchHasItsRow) {
  std::set<std::string> keys;
  std::set<Switch> switches;
  for (const KeyHelp& k : KEY_TABLE) {
    EXPECT_TRUE(keys.insert(k.keys).second) << k.keys;
    if (k.shows != Switch::NONE) {
      EXPECT_TRUE(switches.insert(k.shows).second) << k.keys;
    }
  }
  EXPECT_EQ(switches.size(), 7u);
  const std::string usage = key_usage_text();
  for (const KeyHelp& k : KEY_TABLE) EXPECT_NE(usage.find(std::string("  ") + k.keys + " "), std::string::npos);
}
