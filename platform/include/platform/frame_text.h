// The text lines the program prints with its frames: those of the last frame
// shown and those printed since. Hosts that show text (the headless host at the
// end of a run, the browser page under its canvas) keep them this way.
#pragma once
#include <string>
#include <vector>

class FrameText {
 public:
  void add(const char* line) { since_.emplace_back(line ? line : ""); }
  // A frame is shown: the lines since become its lines.
  void end_frame() {
    last_.swap(since_);
    since_.clear();
  }
  const std::vector<std::string>& last() const { return last_; }
  std::vector<std::string> last_and_since() const {
    std::vector<std::string> all = last_;
    all.insert(all.end(), since_.begin(), since_.end());
    return all;
  }

 private:
  std::vector<std::string> last_, since_;
};
