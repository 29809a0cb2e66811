// What happens between reading the command line and the first frame: the
// scripts, the data folder, the checks that a headless run ends, the host.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cli/options.h"
#include "platform/headless_host.h"
#include "platform/host.h"
#include "platform/sdl_host.h"
#include "platform/web_host.h"

// Appends the events of the input script at PATH. False with a message when
// PATH is a folder, cannot be read or holds something other than a script.
bool read_script(const std::string& path, std::vector<InputEvent>& events, std::string& message);

// A headless run ends in the frame that presses Escape; a run that never would
// is refused, and so is a shot of a frame after the end.
bool check_run_ends(const HeadlessSettings& settings, std::string& message);

// Readies a parsed command line for the run: reads --input, makes the paths
// given absolute, enters the folder that holds res/, reads the tour for --demo
// (and for --bench without a script of its own) and checks that a headless run
// ends. False with a message when the run cannot start.
bool prepare_run(ProgramOptions& options, std::string& message);

// The settings of the window and of the browser page. F12 screenshots of the
// window go to SHOT_DIR.
SdlSettings window_settings(const ProgramOptions& options, const std::string& shot_dir);
WebSettings page_settings(const ProgramOptions& options);
// The host the run shows its frames on: the headless host for --headless, else
// the window (in a browser, the page, which also replays headless runs).
std::unique_ptr<Host> make_host(const ProgramOptions& options, const std::string& shot_dir);

// STATUS; but a run that would end well ends with ERR_FILE_IO and a message
// when what it printed could not all be written (to a full device, say).
int32_t with_output_written(int32_t status);
// The absolute form of PATH, or PATH itself when it has none.
std::string absolute_path(const std::string& path);
