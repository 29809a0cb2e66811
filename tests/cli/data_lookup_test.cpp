// Where the program finds res/ without --res.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/options.h"

TEST(DataLookup, TheFirstFolderWithResWins) {
  const auto base = std::filesystem::temp_directory_path() / "mazewalk-lookup";
  std::filesystem::remove_all(base);
  for (const char* name : {"a", "b/res", "c/res"}) std::filesystem::create_directories(base / name);
  std::ofstream((base / "a" / "res").string()) << "a file, not a folder\n";
  const std::string a = (base / "a").string(), b = (base / "b").string(), c = (base / "c").string();
  EXPECT_EQ(find_data_root({a, b, c}), b);
  EXPECT_EQ(find_data_root({"", c, b}), c);
  EXPECT_EQ(find_data_root({a, (base / "none").string()}), "");
  EXPECT_EQ(find_data_root({}), "");
  std::filesystem::remove_all(base);
}

TEST(DataLookup, WorkingDirectoryThenSourceTreeThenDataFolder) {
  const std::vector<std::string> folders = data_root_candidates();
  ASSERT_GE(folders.size(), 3u);
  EXPECT_EQ(folders[0], ".");
  EXPECT_EQ(folders[1], MW_SOURCE_DIR);
  EXPECT_TRUE(folders.back().ends_with("/share/mazewalk")) << folders.back();
}

TEST(Options, FullscreenVersionAndHelpAreFlags) {
  const char* argv[] = {"mazewalk", "--fullscreen", "--version", "--help", "--scale", "2"};
  ProgramOptions o;
  std::string message;
  ASSERT_TRUE(parse_options(6, argv, o, message)) << message;
  EXPECT_TRUE(o.fullscreen);
  EXPECT_TRUE(o.version);
  EXPECT_TRUE(o.help);
  EXPECT_EQ(o.scale, 2);
}
