#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

double VAL(const std::string& TEXT, size_t FROM) {
  if (FROM >= TEXT.size()) return 0.0;
  return VAL(TEXT.c_str() + FROM);
}

double VAL(const char* TEXT) {
  if (!TEXT) return 0.0;
  const char* P = TEXT;
  while (*P == ' ') ++P;
  // Find the longest decimal prefix: [sign] digits [. digits] [e|E [sign] digits].
  const char* START = P;
  const char* Q = P;
  if (*Q == '+' || *Q == '-') ++Q;
  const char* DIGITS = Q;
  while (*Q >= '0' && *Q <= '9') ++Q;
  bool ANY = Q > DIGITS;
  if (*Q == '.') {
    const char* F = Q + 1;
    while (*F >= '0' && *F <= '9') ++F;
    if (F > Q + 1 || ANY) {
      ANY = ANY || F > Q + 1;
      Q = F;
    }
  }
  if (!ANY) return 0.0;
  if (*Q == 'e' || *Q == 'E') {
    const char* E = Q + 1;
    if (*E == '+' || *E == '-') ++E;
    const char* ED = E;
    while (*E >= '0' && *E <= '9') ++E;
    if (E > ED) Q = E;
  }
  // strtod also reads hex, inf and nan; hand it only the decimal prefix found.
  char SMALL[64];
  const size_t LEN = size_t(Q - START);
  if (LEN < sizeof SMALL) {
    std::memcpy(SMALL, START, LEN);
    SMALL[LEN] = 0;
    return std::strtod(SMALL, nullptr);
  }
  std::string COPY(START, LEN);
  return std::strtod(COPY.c_str(), nullptr);
}

std::string STR(int64_t N) {
  return std::to_string(N);
}
