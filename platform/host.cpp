#include "platform/headless_host.h"

namespace {
HOST* CURRENT = nullptr;
}

HOST* HOST_GET() {
  if (!CURRENT) {
    static HEADLESS_HOST DEFAULT_HOST{HEADLESS_SETTINGS{}};
    CURRENT = &DEFAULT_HOST;
  }
  return CURRENT;
}

void HOST_SET(HOST* H) {
  CURRENT = H;
}
