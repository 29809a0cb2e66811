#include "math/vec.h"

#include <cstdio>
#include <cstring>

namespace NMATHF {

std::string number_text(float value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.7g", double(value));
  // "%.7g" leaves no trailing point on this library, but the rule is kept
  // so that the text never depends on that.
  const size_t len = std::strlen(text);
  if (len > 0 && text[len - 1] == '.') text[len - 1] = '\0';
  return text;
}

std::string VEC2F::to_string() const {
  return "x: " + number_text(X) + ", y: " + number_text(Y);
}

std::string VEC3F::to_string() const {
  return "x: " + number_text(X) + ", y: " + number_text(Y) + ", z: " + number_text(Z);
}

std::string VEC4F::to_string() const {
  return "x: " + number_text(X) + ", y: " + number_text(Y) + ", z: " + number_text(Z) +
         ", w: " + number_text(W);
}

}  // namespace NMATHF
