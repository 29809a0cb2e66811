#include "base/fail.h"
#include "platform/screen.h"
#include "render/post_filters.h"
#include "render/render_globals.h"

void bring_to_screen(Renderer& renderer) {
  if (ISCALE && ANTI_ALIAS) {
    average_and_double(renderer, BACKBUFFER, BACKBUFFER2, SCREEN_TARGET);
  } else if (ISCALE) {
    SCALE2(renderer, SCREEN_TARGET, BACKBUFFER);
  } else if (ANTI_ALIAS) {
    ANTIALIAS4X(renderer, BACKBUFFER, SCREEN_TARGET);
  } else {
    const int32_t result = put_image(BACKBUFFER);
    if (result != 0) RUNTIME_FAIL(result, "MAIN_ROUTINE");
  }
}
