// The program's main routine: start-up, the frame loop and the shutdown.
#pragma once
#include <cstdint>

// Runs the whole program on the current host; returns the exit status (0).
int32_t main_routine();
