#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <memory>

#include "main/main_routine.h"
#include "platform/headless_host.h"
#include "platform/sdl_host.h"

int main(int argc, char** argv) {
  bool HEADLESS = false;
  HEADLESS_SETTINGS SETTINGS;
  for (int I = 1; I < argc; ++I) {
    if (!std::strcmp(argv[I], "--headless")) HEADLESS = true;
    if (!std::strcmp(argv[I], "--frames") && I + 1 < argc) SETTINGS.ESCAPE_FRAME = std::atoi(argv[++I]);
  }
  std::unique_ptr<HOST> H;
  if (HEADLESS) H = std::make_unique<HEADLESS_HOST>(SETTINGS);
  else H = std::make_unique<SDL_HOST>();
  HOST_SET(H.get());
  const int32_t STATUS = MAIN_ROUTINE();
  if (HEADLESS) static_cast<HEADLESS_HOST*>(H.get())->FINISH();
  return STATUS;
}
