// The wait for the next display refresh where the display gives no signal of
// its own: deadlines one refresh period apart on a steady clock. A frame that
// finishes early sleeps to its deadline; one that is late does not sleep, and
// the cadence is kept unless it fell a whole period behind, in which case it
// starts afresh from now.
#pragma once

class FramePacer {
 public:
  explicit FramePacer(double period_s = 1.0 / 60.0) : period_(period_s) {}

  void set_period(double period_s) {
    if (period_s > 0.0) period_ = period_s;
  }
  double period() const { return period_; }

  // The moment to wait for, given the clock NOW (a time at or before NOW means
  // no wait); moves the deadline on by one period.
  double next_wait(double now) {
    if (!started_) {
      started_ = true;
      next_ = now + period_;
      return now;
    }
    if (now < next_) {
      const double wait_until = next_;
      next_ += period_;
      return wait_until;
    }
    next_ = now - next_ > period_ ? now + period_ : next_ + period_;
    return now;
  }

 private:
  double period_;
  double next_ = 0.0;
  bool started_ = false;
};
