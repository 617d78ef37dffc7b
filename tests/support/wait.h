// Waiting in a test for something another thread, process or timer does.
#pragma once

#include <functional>

namespace dayledger::testing {

// Runs `between` until `done` holds, for up to 30 seconds; whether it holds.
// `between` lets the time pass: a sleep, or the event loop with its timers.
inline bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& between) {
  for (int i = 0; i < 1500 && !done(); ++i) between();
  return done();
}

}  // namespace dayledger::testing
