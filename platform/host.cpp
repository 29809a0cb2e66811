#include "platform/headless_host.h"

namespace {
Host* current = nullptr;
}

Host* host_get() {
  if (!current) {
    static HeadlessHost default_host{HeadlessSettings{}};
    current = &default_host;
  }
  return current;
}

void host_set(Host* h) {
  current = h;
}
