// How much memory the program has used, for the benchmark's table.
#pragma once

// The most memory the process has held so far, in MiB: its peak resident set,
// or in a browser the size its WebAssembly memory has grown to (it only grows).
double peak_memory_mib();
