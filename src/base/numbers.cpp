#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "base/numbers.h"

namespace {

// Powers of ten that a double holds exactly.
constexpr double EXACT_POWERS_OF_TEN[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The digits of a decimal number as one integer, while there are at most 15
// of them after the leading zeros (so that a double holds it exactly).
struct Digits {
  uint64_t value = 0;
  int significant = 0;
  void add(char c) {
    if ((significant == 0 && c == '0') || significant > 15) return;
    if (++significant <= 15) value = value * 10 + uint64_t(c - '0');
  }
};

// strtod of the decimal number in [START, END).
double converted(const char* start, const char* end) {
  // strtod also reads hex, inf and nan; hand it only the decimal prefix found.
  char small[64];
  const size_t len = size_t(end - start);
  if (len < sizeof small) {
    std::memcpy(small, start, len);
    small[len] = 0;
    return std::strtod(small, nullptr);
  }
  std::string copy(start, len);
  return std::strtod(copy.c_str(), nullptr);
}

}  // namespace

double val(const std::string& text, size_t from) {
  if (from >= text.size()) return 0.0;
  return val(text.c_str() + from);
}

// The longest decimal prefix: [sign] digits [. digits] [e|E [sign] digits].
// A number of at most 15 significant digits whose scale is an exact power of
// ten is one correctly rounded multiplication or division of two exact
// doubles: the very double strtod gives, had without it.
double val(const char* text) {
  if (!text) return 0.0;
  const char* p = text;
  while (*p == ' ') ++p;
  const char* start = p;
  const char* q = p;
  const bool negative = *q == '-';
  if (*q == '+' || *q == '-') ++q;
  Digits digits;
  const char* integer = q;
  while (is_digit(*q)) digits.add(*q++);
  bool any = q > integer;
  ptrdiff_t fraction = 0;
  if (*q == '.') {
    const char* f = q + 1;
    while (is_digit(*f)) digits.add(*f++);
    if (f > q + 1 || any) {
      any = true;
      fraction = f - (q + 1);
      q = f;
    }
  }
  if (!any) return 0.0;
  int exponent = 0;
  bool exponent_small = true;
  if (*q == 'e' || *q == 'E') {
    const char* e = q + 1;
    const bool exponent_negative = *e == '-';
    if (*e == '+' || *e == '-') ++e;
    const char* ed = e;
    while (is_digit(*e)) {
      if (e - ed < 4) exponent = exponent * 10 + (*e - '0');
      ++e;
    }
    if (e > ed) {
      q = e;
      exponent_small = e - ed <= 4;
      if (exponent_negative) exponent = -exponent;
    }
  }
  const ptrdiff_t scale = exponent - fraction;
  if (digits.significant > 15 || !exponent_small || scale < -22 || scale > 22) return converted(start, q);
  const double magnitude = scale < 0 ? double(digits.value) / EXACT_POWERS_OF_TEN[-scale]
                                     : double(digits.value) * EXACT_POWERS_OF_TEN[scale];
  return negative ? -magnitude : magnitude;
}

std::string str(int64_t n) {
  return std::to_string(n);
}
