#include "platform/screen.h"
#include "render/post_filters.h"
#include "render/render_globals.h"

void bring_to_screen() {
  if (ISCALE && ANTI_ALIAS) {
    average_and_double(BACKBUFFER, BACKBUFFER2, nullptr);
  } else if (ISCALE) {
    SCALE2(nullptr, BACKBUFFER);
  } else if (ANTI_ALIAS) {
    ANTIALIAS4X(BACKBUFFER, SCREEN_TARGET);
  } else {
    const int32_t result = put_image(BACKBUFFER);
    if (result != 0) RUNTIME_FAIL(result, "MAIN_ROUTINE");
  }
}
