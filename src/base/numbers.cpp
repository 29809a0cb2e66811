#include <cstdlib>
#include <cstring>

#include "base/numbers.h"

namespace {

// Powers of ten that a double holds exactly.
constexpr double EXACT_POWERS_OF_TEN[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value of the decimal number in [TEXT, END) (sign, digits, fraction,
// exponent, as val found it) when it can be had without strtod: at most 15
// significant digits (an exact double) scaled by an exact power of ten is one
// correctly rounded multiplication or division, the same double strtod gives.
// False for any other number.
bool exact_quick_value(const char* text, const char* end, double& value) {
  const char* p = text;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  uint64_t digits = 0;
  int significant = 0;  // digits after the leading zeros
  int fraction = 0;     // digits after the point
  bool after_point = false;
  for (; p < end && *p != 'e' && *p != 'E'; ++p) {
    if (*p == '.') {
      after_point = true;
      continue;
    }
    fraction += after_point;
    if (significant == 0 && *p == '0') continue;
    if (++significant > 15) return false;
    digits = digits * 10 + uint64_t(*p - '0');
  }
  int exponent = 0;
  if (p < end) {
    ++p;
    const bool exponent_negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    if (end - p > 4) return false;
    for (; p < end; ++p) exponent = exponent * 10 + (*p - '0');
    if (exponent_negative) exponent = -exponent;
  }
  const int scale = exponent - fraction;
  if (scale < -22 || scale > 22) return false;
  const double magnitude = scale < 0 ? double(digits) / EXACT_POWERS_OF_TEN[-scale]
                                     : double(digits) * EXACT_POWERS_OF_TEN[scale];
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

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
  double quick;
  if (exact_quick_value(start, q, quick)) return quick;
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
