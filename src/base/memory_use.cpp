#include "base/memory_use.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/heap.h>
#else
#include <sys/resource.h>
#endif

double peak_memory_mib() {
#ifdef __EMSCRIPTEN__
  return double(emscripten_get_heap_size()) / (1024.0 * 1024.0);
#else
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
#endif
}
