// Two pieces of start-up work that share nothing they write, at the same time.
#pragma once
#include <future>
#include <system_error>

// FIRST on this thread while SECOND runs on another, or one after the other
// when no thread can be had. A failure of either reaches the caller once both
// are over.
template <class First, class Second>
void side_by_side(First&& first, Second&& second) {
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
}
