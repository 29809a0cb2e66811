// Time and chance: the host's clock, sleeps and the random generator.
#pragma once
#include <cstdint>

double timer();               // seconds since an arbitrary origin
int32_t sleep_ms(int32_t ms); // 0
void randomize_from_timer();  // the headless host seeds with its fixed seed instead
void randomize(uint64_t seed);
double rnd();                 // uniform in [0, 1)
