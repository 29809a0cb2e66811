// The screen page: one block of WIDTH x HEIGHT 32-bit pixels with rows WIDTH * 4
// bytes apart, shown by the host at every unlock.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/host.h"
#include "platform/platform.h"

namespace {
std::vector<uint32_t> PAGE;
int32_t PAGE_W = 0, PAGE_H = 0;
int32_t LOCKS = 0;
}  // namespace

int32_t SET_GRAPHICS_MODE(int32_t WIDTH, int32_t HEIGHT) {
  if (WIDTH <= 0 || HEIGHT <= 0 || WIDTH > 8192 || HEIGHT > 8192) return ERR_ILLEGAL_CALL;
  const int32_t RESULT = HOST_GET()->OPEN(WIDTH, HEIGHT);
  if (RESULT != 0) return RESULT;
  PAGE.assign(size_t(WIDTH) * size_t(HEIGHT), 0u);
  PAGE_W = WIDTH;
  PAGE_H = HEIGHT;
  LOCATE(1, 1);
  return 0;
}

void SCREEN_LOCK() {
  ++LOCKS;
}

void SCREEN_UNLOCK() {
  if (LOCKS > 0) --LOCKS;
  if (LOCKS == 0 && !PAGE.empty()) HOST_GET()->PRESENT(PAGE.data(), PAGE_W, PAGE_H);
}

uint32_t* SCREEN_PTR() {
  return PAGE.empty() ? nullptr : PAGE.data();
}

SCREEN_INFO_STRUCT SCREEN_INFO() {
  return SCREEN_INFO_STRUCT{PAGE_W, PAGE_H, 32, 4, PAGE_W * 4};
}

int32_t PUT_IMAGE(const IMAGE* IMG) {
  if (!IMG) return ERR_NULL_POINTER;
  if (PAGE.empty() || IMG->BPP != 4) return ERR_ILLEGAL_CALL;
  const int32_t W = std::min<int64_t>(IMG->WIDTH, PAGE_W);
  const int32_t H = std::min<int64_t>(IMG->HEIGHT, PAGE_H);
  const uint8_t* SRC = reinterpret_cast<const uint8_t*>(IMG->PIXELS());
  for (int32_t Y = 0; Y < H; ++Y)
    std::memcpy(&PAGE[size_t(Y) * PAGE_W], SRC + size_t(Y) * IMG->PITCH, size_t(W) * 4);
  return 0;
}

int32_t WAIT_RETRACE() {
  return HOST_GET()->WAIT_RETRACE();
}

int32_t KEY_HELD(int32_t SCANCODE) {
  return HOST_GET()->KEY_HELD(SCANCODE) ? -1 : 0;
}

void GET_MOUSE(int32_t& X, int32_t& Y, int32_t& WHEEL, int32_t& BUTTONS) {
  HOST_GET()->GET_MOUSE(X, Y, WHEEL, BUTTONS);
}

void SET_MOUSE(int32_t X, int32_t Y, int32_t VISIBLE, int32_t CONFINE) {
  HOST_GET()->SET_MOUSE(X, Y, VISIBLE, CONFINE);
}

double TIMER() {
  return HOST_GET()->TIMER();
}

int32_t SLEEP_MS(int32_t MS) {
  if (MS > 0) HOST_GET()->SLEEP(MS);
  return 0;
}
