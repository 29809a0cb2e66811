// The program as a user runs it: a child process with its exit status and output.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/key_table.h"
#include "scene_files.h"
#include "temp_folder.h"

namespace {
struct RunResult {
  int status;
  std::string out, err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the program with ARGS, PREFIX (an env command, say) in front of it and
// its standard output sent to STDOUT_TO (by default a file that is read back).
RunResult run_in(const std::string& prefix, const std::string& args,
                 const std::string& stdout_to = "") {
  // Tests run in parallel: each keeps its own output files.
  const std::string stem =
      test_files::temp_path(testing::UnitTest::GetInstance()->current_test_info()->name()).string();
  const std::string out = stem + "-out.txt", err = stem + "-err.txt";
  const std::string command =
      prefix + MW_PROGRAM + " " + args + " >" + (stdout_to.empty() ? out : stdout_to) + " 2>" + err;
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
}

RunResult run(const std::string& args) {
  return run_in("", args);
}
}  // namespace

TEST(Program, MissingDataFileIsReportedWithStatusTwoAndNamed) {
  const auto root = test_files::temp_path("nothing-here");
  std::filesystem::create_directories(root);
  const RunResult r = run("--headless --frames 1 --res " + root.string());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(r.err.starts_with("\nAborting due to runtime error 2 (file not found) at line "))
      << r.err;
  // The report's own line is unchanged; a second line says what was missing and where.
  EXPECT_NE(r.err.find(" of main_routine.cpp::MAIN_ROUTINE()\n\n" + root.string() +
                       "/res/texture/sand.bmp: no such file; --res DIR names the folder that "
                       "holds res/\n"),
            std::string::npos)
      << r.err;
}

TEST(Program, AMissingModelIsNamedToo) {
  const auto root = test_files::make_empty_scene("no-ufo");
  std::filesystem::remove(root / "res" / "model" / "ufo.obj");
  const RunResult r = run("--headless --frames 1 --res " + root.string());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find(" of obj_loader.cpp::LOAD_OBJ()\n\n" + root.string() +
                       "/res/model/ufo.obj: no such file;"),
            std::string::npos)
      << r.err;
}

TEST(Program, DataIsFoundFromAnyFolderWithoutRes) {
  // No res/ here: the source tree the program was built from has it.
  const auto elsewhere = test_files::temp_path("elsewhere");
  std::filesystem::create_directories(elsewhere);
  const RunResult r = run_in("cd " + elsewhere.string() + " && ", "--headless --frames 2");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.ends_with("OK!!\n")) << r.out;
}

TEST(Program, CompressedTextureIsStatusThreeWithANote) {
  const auto root = test_files::make_empty_scene("jpeg-bmp");
  // The same header saying JPEG: its bytes must not become texels.
  const auto path = root / "res" / "texture" / "wall.bmp";
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(30);
  file.write("\x04\0\0\0", 4);
  file.close();
  const RunResult r = run("--headless --frames 1 --res " + root.string());
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(r.err.starts_with("\nAborting due to runtime error 3 (file I/O error) at line ")) << r.err;
  EXPECT_TRUE(r.err.ends_with("MAIN_ROUTINE()\n\n" + root.string() +
                              "/res/texture/wall.bmp: compression 4 (JPEG) is not read; "
                              "save it as an uncompressed BMP\n"))
      << r.err;
}

TEST(Program, ModelWithoutTrianglesIsStatusThreeWithANote) {
  const auto root = test_files::make_empty_scene("faceless");
  std::ofstream(root / "res" / "model" / "cube.obj") << "# Vertices: 1\nv 0 0 0\n";
  const RunResult r = run("--headless --frames 1 --res " + root.string());
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(r.err.ends_with("LOAD_OBJ()\n\n" + root.string() +
                              "/res/model/cube.obj: no triangles in the file\n"))
      << r.err;
}

TEST(Program, TextureThatIsNotABmpIsStatusThree) {
  const auto root = test_files::make_empty_scene("not-bmp");
  std::ofstream(root / "res" / "texture" / "wall.bmp") << "this is not a picture\n";
  const RunResult r = run("--headless --frames 1 --res " + root.string());
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("runtime error 3 (file I/O error)"), std::string::npos) << r.err;
}

// Without a display there is no window: report 1, a line that says so in words
// and points at --headless, and no hang (the display checks give up within 5 s).
TEST(Program, NoDisplayIsStatusOneWithWords) {
  const auto root = test_files::make_empty_scene("no-display");
  const std::string first_line =
      "\nAborting due to runtime error 1 (illegal function call) at line ";
  std::string dead = ":187";
  while (std::filesystem::exists("/tmp/.X11-unix/X" + dead.substr(1))) dead += "1";
  for (const std::string& env : std::vector<std::string>{"env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER",
                                "env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=" + dead,
                                "env -u DISPLAY -u SDL_VIDEODRIVER WAYLAND_DISPLAY=mazewalk-none",
                                "env SDL_VIDEODRIVER=offscreen",
                                "env SDL_VIDEODRIVER=dummy"}) {
    const RunResult r = run_in("timeout -k 2 30 " + env + " ", "--res " + root.string());
    EXPECT_EQ(r.status, 1) << env << "\n" << r.err;
    const size_t report = r.err.find(first_line);
    ASSERT_NE(report, std::string::npos) << env << "\n" << r.err;
    EXPECT_NE(r.err.find(" of main_routine.cpp::MAIN_ROUTINE()\n\nno display found", report),
              std::string::npos)
        << env << "\n" << r.err;
    EXPECT_TRUE(r.err.ends_with("; --headless runs the program without a window\n"))
        << env << "\n" << r.err;
  }
}

TEST(Program, VersionAndHelpWithTheKeys) {
  const RunResult version = run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "mazewalk 1.1.0\n");
  const RunResult help = run("--help");
  EXPECT_EQ(help.status, 0);
  for (const KeyHelp& k : KEY_TABLE)
    EXPECT_NE(help.out.find(std::string("\n  ") + k.keys + " "), std::string::npos) << k.keys;
  EXPECT_NE(help.out.find("--fullscreen"), std::string::npos);
}

TEST(Program, ReadmeListsEveryKeyOfTheTable) {
  const std::string readme = slurp(std::string(MW_SOURCE_DIR) + "/README.md");
  const size_t controls = readme.find("## Controls");
  ASSERT_NE(controls, std::string::npos);
  const std::string section = readme.substr(controls, readme.find("\n## ", controls + 1) - controls);
  for (const KeyHelp& k : KEY_TABLE)
    EXPECT_NE(section.find(std::string("| ") + k.keys + " | " + k.effect), std::string::npos)
        << "README's Controls table lacks: | " << k.keys << " | " << k.effect;
}

TEST(Program, FrameRateLineAppearsFromTheSecondFrame) {
  // Flying, so that the camera hangs still over the empty scene.
  const auto root = test_files::make_empty_scene("fps");
  const RunResult first = run("--headless --fly --frames 1 --res " + root.string());
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.out, "0 triangles rendered.\n\nx: 0, y: 50, z: 0\n\nOK!!\n");
  const RunResult second = run("--headless --fly --frames 2 --res " + root.string());
  EXPECT_EQ(second.out, "0 triangles rendered.\nFPS: 1\nx: 0, y: 50, z: 0\n\nOK!!\n");
  // At 60 frames a second the line is renewed once a second with the count.
  const RunResult later = run("--headless --dt 16.667 --frames 200 --res " + root.string());
  EXPECT_NE(later.out.find("\nFPS: 60\n"), std::string::npos) << later.out;
}

TEST(Program, BadCommandLinesAreRefused) {
  EXPECT_EQ(run("--frames 0 --headless").status, 64);
  EXPECT_EQ(run("--frames").status, 64);
  EXPECT_EQ(run("--shot 5 --headless").status, 64);
  EXPECT_EQ(run("--demo").status, 64);  // needs --headless
  EXPECT_EQ(run("--scale 99").status, 64);
  EXPECT_EQ(run("--headless --demo --fly").status, 64);  // the tour turns fly mode on itself
  EXPECT_EQ(run("--threads 0").status, 64);
  EXPECT_EQ(run("--threads 65").status, 64);
  EXPECT_EQ(run("--threads two").status, 64);
  EXPECT_EQ(run("--simd fast").status, 64);
  for (const char* bad : {"--world-scale 0", "--world-scale -2", "--world-scale nan",
                          "--world-scale inf", "--world-scale 1e39", "--world-scale 2x",
                          "--spawn 1,2", "--spawn 1,2,3,4", "--spawn 1,,3", "--spawn 1,2,inf",
                          "--spawn", "--size 319x200", "--size 320x199", "--size 7681x4320",
                          "--size 640x4321", "--size 640", "--size 640x", "--size x480",
                          "--size 640x480x2", "--size Window"})
    EXPECT_EQ(run(bad).status, 64) << bad;
  const RunResult help = run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--headless"), std::string::npos);
}

TEST(Program, RunsThatCouldNeverEndOrShootPastTheirEndAreRefused) {
  const RunResult endless = run("--headless");
  EXPECT_EQ(endless.status, 64);
  EXPECT_NE(endless.err.find("would never end"), std::string::npos) << endless.err;
  const RunResult late = run("--headless --frames 5 --shot 9:" + test_files::temp_path("late.png").string());
  EXPECT_EQ(late.status, 64);
  EXPECT_NE(late.err.find("--shot 9 is after the last frame, 5"), std::string::npos) << late.err;
  const RunResult folder = run("--headless --frames 5 --input " + test_files::process_temp_folder().string());
  EXPECT_EQ(folder.status, 64);
  EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;
}

TEST(Program, BenchmarkJsonThatCannotBeWrittenIsStatusThree) {
  const RunResult no_folder = run("--bench --frames 2 --json /nonexistent-folder/bench.json");
  EXPECT_EQ(no_folder.status, 3);
  EXPECT_NE(no_folder.err.find("cannot write /nonexistent-folder/bench.json"), std::string::npos);
  EXPECT_EQ(no_folder.out, "");  // refused before the benchmark ran
  const RunResult full_disk = run("--bench --frames 2 --json /dev/full");
  EXPECT_EQ(full_disk.status, 3);
  EXPECT_NE(full_disk.err.find("cannot write /dev/full"), std::string::npos);
}

TEST(Program, AModelOfYourOwnWalksAsTheMaze) {
  // The committed example in the form common 3D tools export: o, vn, s off,
  // quads of v/vt/vn corners; its texture a file of its own size.
  const auto root = test_files::make_empty_scene("own-maze");
  const auto texture = root / "odd.bmp";
  test_files::write_bmp(texture, 24, 10, 0x406080);
  const std::string model = std::string(MW_SOURCE_DIR) + "/res/example/courtyard.obj";
  const RunResult r = run("--headless --frames 3 --res " + root.string() + " --maze " + model +
                          " --maze-texture " + texture.string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Intersection detected..."), std::string::npos) << r.out;
  // A tenth of it is an object: framed from outside, flying. Spawned over
  // its floor, it is walked again.
  const RunResult small = run("--headless --frames 3 --res " + root.string() + " --maze " + model +
                              " --world-scale 0.1");
  EXPECT_EQ(small.status, 0) << small.err;
  EXPECT_EQ(small.out.find("x: 0, y: 50, z: 0"), std::string::npos) << small.out;
  const RunResult spawned = run("--headless --frames 60 --res " + root.string() + " --maze " +
                                model + " --spawn 3,20,-4");
  EXPECT_NE(spawned.out.find("x: 3, y: 4, z: -4"), std::string::npos) << spawned.out;
  const RunResult missing = run("--headless --frames 3 --maze no-such-maze.obj");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("no-such-maze.obj: no such file"), std::string::npos) << missing.err;
}

TEST(Program, ThreadsAndThePortablePathChangeNothingButSpeed) {
  // The maze from above on the tour, through both filters (frame 50, the
  // default) and drawn straight to the page at full size (frame 52: 3 and 4
  // pressed in frame 51).
  const std::string script = test_files::temp_path("switches.txt").string();
  std::ofstream(script) << "51 down 3\n51 down 4\n52 up 3\n52 up 4\n";
  std::vector<std::string> pictures;
  for (const char* how : {"--threads 1 --simd off", "--threads 1", "--threads 2 --simd off",
                          "--threads 3"}) {
    const std::string stem = test_files::temp_path("frame-" + std::to_string(pictures.size())).string();
    const RunResult r = run("--headless --demo --frames 52 --input " + script + " " + how +
                            " --shot 50:" + stem + "-50.png --shot 52:" + stem + "-52.png");
    ASSERT_EQ(r.status, 0) << how << "\n" << r.err;
    pictures.push_back(slurp(stem + "-50.png") + slurp(stem + "-52.png"));
    EXPECT_GT(pictures.back().size(), 200000u) << how;  // two pictures of the maze, not of nothing
    EXPECT_TRUE(pictures.back() == pictures.front()) << how << " draws other pixels";
  }
}

// The tour flies the same path at every size: the script's mouse travel is
// read against the 640 x 480 page's centre, whatever the page.
TEST(Program, TheTourFliesTheSamePathAtEverySize) {
  std::string last_lines;
  for (const char* size : {"640x480", "1920x1080", "321x201"}) {
    const RunResult r = run(std::string("--headless --demo --size ") + size);
    ASSERT_EQ(r.status, 0) << size << "\n" << r.err;
    // The camera's position and the probe: the last lines before "OK!!".
    const size_t fps = r.out.rfind("FPS:");
    ASSERT_NE(fps, std::string::npos) << size;
    const std::string tail = r.out.substr(r.out.find('\n', fps));
    if (last_lines.empty()) last_lines = tail;
    EXPECT_EQ(tail, last_lines) << size;
  }
}

// Output that cannot be written is a failure, whatever prints it.
TEST(Program, AFullDeviceIsStatusThree) {
  for (const char* args : {"--headless --frames 2", "--bench --frames 2 --threads 1", "--version"}) {
    const RunResult r = run_in("", args, "/dev/full");
    EXPECT_EQ(r.status, 3) << args;
    EXPECT_NE(r.err.find("mazewalk: cannot write the standard output"), std::string::npos)
        << args << "\n" << r.err;
  }
  const RunResult shot = run("--headless --frames 2 --shot 2:/dev/full");
  EXPECT_EQ(shot.status, 3);
  EXPECT_NE(shot.err.find("mazewalk: cannot write /dev/full"), std::string::npos) << shot.err;
}

TEST(Program, BenchmarkRowsForOneThreadAndAll) {
  const auto root = test_files::make_empty_scene("bench-threads");
  const RunResult r = run("--bench --frames 4 --threads 2 --simd off --res " + root.string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("simd path: portable"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("threads"), std::string::npos) << r.out;
  for (const char* row : {"default                1", "default                2",
                          "flat                   1", "flat                   2"})
    EXPECT_NE(r.out.find(row), std::string::npos) << row << "\n" << r.out;
}
