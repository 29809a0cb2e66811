// Two pieces of start-up work that share nothing they write, at the same time.
#pragma once
#include <future>
#include <system_error>

// FIRST on this thread while SECOND runs on another, or one after the other
// when no thread can be had. A failure of either reaches the caller once both
// are over. In the browser page one after the other always: its threads are
// the drawing workers, made before, and one more would be waited for by a
// page that cannot wait.
template <class First, class Second>
void side_by_side(First&& first, Second&& second) {
#if defined(__EMSCRIPTEN__)
  second();
  first();
#else
  std::future<void> other;
  try {
    other = std::async(std::launch::async, second);
  } catch (const std::system_error&) {
    second();
    first();
    return;
  }
  first();
  other.get();
#endif
}
