#include "platform/current_platform.h"
#include "platform/headless_host.h"

namespace {
Platform* current = nullptr;
}  // namespace

Platform::Platform(Host& host) : host_(host), previous_(current) {
  current = this;
}

Platform::~Platform() {
  current = previous_;
}

Platform& current_platform() {
  // Made once and never ended, so that it answers even while the program exits.
  if (!current) new Platform(*new HeadlessHost(HeadlessSettings{}));
  return *current;
}
