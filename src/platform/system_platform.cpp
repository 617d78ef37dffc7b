// The parts of the real platform that are the same on every system.
#include "platform/system_platform.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <exception>
#include <thread>

#include "platform/cp949_codec.h"

namespace dayledger {

namespace {

// Where `text` holds the stand-in as a whole path component, from `from` on.
size_t FindStandIn(const std::string& text, size_t from) {
  const size_t length = sizeof kAppDirStandIn - 1;
  for (size_t at = text.find(kAppDirStandIn, from); at != std::string::npos;
       at = text.find(kAppDirStandIn, at + 1)) {
    if (at + length == text.size() || text[at + length] == '\\') return at;
  }
  return std::string::npos;
}

}  // namespace

std::string SystemPlatform::Cp949ToUtf8(const std::string& cp949) {
  std::string text = Cp949ToUtf8Text(cp949);
  if (app_dir_utf8_.empty()) return text;
  for (size_t at = FindStandIn(text, 0); at != std::string::npos;
       at = FindStandIn(text, at + app_dir_utf8_.size())) {
    text.replace(at, sizeof kAppDirStandIn - 1, app_dir_utf8_);
  }
  return text;
}

// A file's deletion waits on the disk: freeing its blocks (and, on a disk
// mounted to discard them, telling the disk so) takes a tenth of a
// millisecond or more, while the work itself is slight. A few deletions at
// once overlap those waits; each answers in its own place.
std::vector<IoStatus> SystemPlatform::DeleteFiles(const std::vector<std::string>& paths) {
  constexpr size_t kAtOnce = 4;
  std::vector<IoStatus> statuses(paths.size());
  std::atomic<size_t> next{0};
  const auto work = [&] {
    for (size_t at = next++; at < paths.size(); at = next++) {
      try {
        statuses[at] = DeleteFile(paths[at]);
      } catch (...) {  // out of memory: the file counts as not deleted
        statuses[at] = IoStatus::Failed(IoError::kDeleteFailed, paths[at]);
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

std::string SystemPlatform::UseAppDir(const std::string& folder_utf8) {
  const std::string cp949 = Utf8ToCp949Text(folder_utf8);
  if (Cp949ToUtf8Text(cp949) == folder_utf8) return cp949 + "\\";
  app_dir_utf8_ = folder_utf8;
  return std::string(kAppDirStandIn) + "\\";
}

std::string SystemPlatform::Utf8Path(const std::string& tool_path) {
  const size_t length = sizeof kAppDirStandIn - 1;
  if (app_dir_utf8_.empty() || FindStandIn(tool_path, 0) != 0) return Cp949ToUtf8Text(tool_path);
  return app_dir_utf8_ + Cp949ToUtf8Text(tool_path.substr(length));
}

}  // namespace dayledger
