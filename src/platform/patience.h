// How long the tool waits for a file another program holds for a moment:
// a virus scanner or the search indexer often opens a file right after it
// is written, and lets go again soon.
#pragma once

#include "platform/platform.h"
#include "platform/system_reason.h"

namespace dayledger {

// `tries` tries, the pause between two of them `step_ms` longer each time.
struct Patience {
  int tries;
  int step_ms;
};

// Before anything changes: about three seconds in all (SQLite's Windows
// layer tries ten times, 25 ms longer each time; a scanner that has just
// seen a file written may hold it a little longer).
inline constexpr Patience kBriefPatience{16, 25};
// Past the commit point, where giving up leaves the rest to the next start:
// about twenty seconds in all.
inline constexpr Patience kCommittedPatience{20, 100};

// Asks `ready` until it says yes, pausing between tries as `patience` says;
// its last answer.
template <typename Ready>
bool Patiently(Platform& platform, Patience patience, Ready&& ready) {
  for (int attempt = 1;; ++attempt) {
    if (ready()) return true;
    if (attempt >= patience.tries) return false;
    platform.Pause(patience.step_ms * attempt);
  }
}

// Runs `operation` (which answers a Status) until it works or fails for
// more than a brief denial, pausing as `patience` says; its last answer. For
// a file just written, which a virus scanner may hold a moment to look at.
template <typename Operation>
Status UnlessBrieflyDenied(Platform& platform, Patience patience, Operation&& operation) {
  Status status;
  Patiently(platform, patience, [&] {
    status = operation();
    return status.ok() || !IsBriefDenial(status.code);
  });
  return status;
}

// Whether the file can be replaced now, waiting only while another program
// holds it: a read-only file, or one its permissions keep, stays so however
// long one waits.
inline Status ReplaceableSoon(Platform& platform, const Path& path,
                              Patience patience = kBriefPatience) {
  Status answer;
  Patiently(platform, patience, [&] {
    answer = platform.CanReplace(path);
    return answer.kind != StatusKind::kHeld;
  });
  return answer;
}

}  // namespace dayledger
