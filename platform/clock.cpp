// The clock and sleeps of the host in use, and the random generator.
#include "platform/clock.h"
#include "platform/current_platform.h"

namespace {
// splitmix64: small, fast and good enough to scatter fifty objects and colours.
uint64_t state = 0x9E3779B97F4A7C15ull;

uint64_t next() {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}
}  // namespace

void randomize(uint64_t seed) {
  state = seed;
}

void randomize_from_timer() {
  randomize(current_platform().host().seed_from_timer());
}

double rnd() {
  // 53 random bits: every value is a multiple of 2^-53 below 1.
  return double(next() >> 11) * 0x1.0p-53;
}

double timer() {
  return current_platform().host().timer();
}

int32_t sleep_ms(int32_t ms) {
  if (ms > 0) current_platform().host().sleep(ms);
  return 0;
}
