#include <cstdlib>
#include <cstring>

#include "base/numbers.h"

double val(const std::string& text, size_t from) {
  if (from >= text.size()) return 0.0;
  return val(text.c_str() + from);
}

double val(const char* text) {
  if (!text) return 0.0;
  const char* p = text;
  while (*p == ' ') ++p;
  // Find the longest decimal prefix: [sign] digits [. digits] [e|E [sign] digits].
  const char* start = p;
  const char* q = p;
  if (*q == '+' || *q == '-') ++q;
  const char* digits = q;
  while (*q >= '0' && *q <= '9') ++q;
  bool any = q > digits;
  if (*q == '.') {
    const char* f = q + 1;
    while (*f >= '0' && *f <= '9') ++f;
    if (f > q + 1 || any) {
      any = any || f > q + 1;
      q = f;
    }
  }
  if (!any) return 0.0;
  if (*q == 'e' || *q == 'E') {
    const char* e = q + 1;
    if (*e == '+' || *e == '-') ++e;
    const char* ed = e;
    while (*e >= '0' && *e <= '9') ++e;
    if (e > ed) q = e;
  }
  // strtod also reads hex, inf and nan; hand it only the decimal prefix found.
  char small[64];
  const size_t len = size_t(q - start);
  if (len < sizeof small) {
    std::memcpy(small, start, len);
    small[len] = 0;
    return std::strtod(small, nullptr);
  }
  std::string copy(start, len);
  return std::strtod(copy.c_str(), nullptr);
}

std::string str(int64_t n) {
  return std::to_string(n);
}
