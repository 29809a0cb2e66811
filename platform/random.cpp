#include "platform/host.h"
#include "platform/platform.h"

namespace {
// splitmix64: small, fast and good enough to scatter fifty objects and colours.
uint64_t STATE = 0x9E3779B97F4A7C15ull;

uint64_t NEXT() {
  uint64_t Z = (STATE += 0x9E3779B97F4A7C15ull);
  Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
  Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
  return Z ^ (Z >> 31);
}
}  // namespace

void RANDOMIZE(uint64_t SEED) {
  STATE = SEED;
}

void RANDOMIZE_FROM_TIMER() {
  RANDOMIZE(HOST_GET()->SEED_FROM_TIMER());
}

double RND() {
  // 53 random bits: every value is a multiple of 2^-53 below 1.
  return double(NEXT() >> 11) * 0x1.0p-53;
}
