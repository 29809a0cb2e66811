// The number text the program reads and writes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Text to number: leading blanks skipped, the longest decimal prefix (sign,
// digits, fraction, exponent) taken, 0 when there is none.
double val(const char* text);
double val(const std::string& text, size_t from = 0);
// Integer to decimal text.
std::string str(int64_t n);
