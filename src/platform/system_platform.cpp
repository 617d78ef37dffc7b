// The parts of the real platform that are the same on every system.
#include "platform/system_platform.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <exception>
#include <thread>

namespace dayledger {

// A file's deletion waits on the disk: freeing its blocks (and, on a disk
// mounted to discard them, telling the disk so) takes a tenth of a
// millisecond or more, while the work itself is slight. A few deletions at
// once overlap those waits; each answers in its own place.
std::vector<Status> SystemPlatform::DeleteFiles(const std::vector<Path>& paths) {
  constexpr size_t kAtOnce = 4;
  std::vector<Status> statuses(paths.size());
  std::atomic<size_t> next{0};
  const auto work = [&] {
    for (size_t at = next++; at < paths.size(); at = next++) {
      try {
        statuses[at] = DeleteFile(paths[at]);
      } catch (...) {  // out of memory: the file counts as not deleted
        statuses[at] = Status::Failed(StatusKind::kDeleteFailed, paths[at]);
      }
    }
  };
  std::vector<std::thread> helpers;
  try {
    while (helpers.size() + 1 < std::min(kAtOnce, paths.size())) helpers.emplace_back(work);
  } catch (const std::exception&) {
    // No thread to be had: this one works through what is left.
  }
  work();
  for (std::thread& helper : helpers) helper.join();
  return statuses;
}

void SystemPlatform::Pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace dayledger
