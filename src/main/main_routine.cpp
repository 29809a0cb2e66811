#include "main/main_routine.h"

#include "main/render_globals.h"
#include "platform/platform.h"

int32_t MAIN_ROUTINE() {
  RANDOMIZE_FROM_TIMER();
  SCR_W = 640;
  SCR_H = 480;
  SCR_W2 = SCR_W / 2;
  SCR_H2 = SCR_H / 2;
  if (SET_GRAPHICS_MODE(SCR_W, SCR_H) != 0) FAIL(ERR_ILLEGAL_CALL, "MAIN_ROUTINE");
  for (;;) {
    SCREEN_LOCK();
    LOCATE(1, 1);
    PRINT_LINE("0 triangles rendered.");
    WAIT_RETRACE();
    SCREEN_UNLOCK();
    SLEEP_MS(3);
    if (KEY_HELD(SC_ESCAPE)) break;
  }
  PRINT_LINE("OK!!");
  SLEEP_MS(1000);
  return 0;
}
