// Where the program finds res/ without --res.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/options.h"
#include "temp_folder.h"

TEST(DataLookup, TheFirstFolderWithResWins) {
  const auto base = test_files::temp_path("lookup");
  for (const char* name : {"a", "b/res", "c/res"}) std::filesystem::create_directories(base / name);
  std::ofstream((base / "a" / "res").string()) << "a file, not a folder\n";
  const std::string a = (base / "a").string(), b = (base / "b").string(), c = (base / "c").string();
  EXPECT_EQ(find_data_root({a, b, c}), b);
  EXPECT_EQ(find_data_root({"", c, b}), c);
  EXPECT_EQ(find_data_root({a, (base / "none").string()}), "");
  EXPECT_EQ(find_data_root({}), "");
}

TEST(DataLookup, WorkingDirectoryThenSourceTreeThenDataFolder) {
  const std::vector<std::string> folders = data_root_candidates();
  ASSERT_GE(folders.size(), 3u);
  EXPECT_EQ(folders[0], ".");
  EXPECT_EQ(folders[1], MW_SOURCE_DIR);
  EXPECT_TRUE(folders.back().ends_with("/share/mazewalk")) << folders.back();
}
