#include "math/vec.h"

#include <cstdio>
#include <cstring>

namespace NMATHF {

std::string NUMBER_TEXT(float VALUE) {
  char TEXT[48];
  std::snprintf(TEXT, sizeof TEXT, "%.7g", double(VALUE));
  // "%.7g" leaves no trailing point on this library, but the rule is kept
  // so that the text never depends on that.
  const size_t LEN = std::strlen(TEXT);
  if (LEN > 0 && TEXT[LEN - 1] == '.') TEXT[LEN - 1] = '\0';
  return TEXT;
}

std::string VEC2F::TO_STRING() const {
  return "x: " + NUMBER_TEXT(X) + ", y: " + NUMBER_TEXT(Y);
}

std::string VEC3F::TO_STRING() const {
  return "x: " + NUMBER_TEXT(X) + ", y: " + NUMBER_TEXT(Y) + ", z: " + NUMBER_TEXT(Z);
}

std::string VEC4F::TO_STRING() const {
  return "x: " + NUMBER_TEXT(X) + ", y: " + NUMBER_TEXT(Y) + ", z: " + NUMBER_TEXT(Z) +
         ", w: " + NUMBER_TEXT(W);
}

}  // namespace NMATHF
