// Times the whole upgrade of a 1.00 user with encrypted data and 100 entries
// a month (start checks to the commit, every byte flushed before it reports
// success), with and without the backup, against `cp -r` of the same user
// folder in the same run. Prints both ratios and the number of flushes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "demo/installation_builder.h"
#include "platform/system_platform.h"
#include "support/headless_view.h"
#include "support/recorded_boxes.h"
#include "upgrade/upgrade_runner.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace dayledger;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Counts the flushes of files and folders on their way to the disk.
class CountingPlatform : public PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  IoStatus SyncFile(const std::string& path) override {
    ++flushes;
    return PlatformWrapper::SyncFile(path);
  }
  IoStatus SyncFolder(const std::string& path) override {
    ++flushes;
    return PlatformWrapper::SyncFolder(path);
  }
  int flushes = 0;
};

struct Timing {
  double upgrade_seconds = 0;
  double copy_seconds = 0;
  int flushes = 0;
  bool done = false;
};

Timing Measure(const std::string& root, bool skip_backup) {
  fs::remove_all(root);
  demo::InstallationBuilder builder(root + "/app");
  builder.WriteTemplates();
  builder.WriteUser({"bench", "10000", "benchmark", 100, 4, 4});
  builder.WriteUserList({"bench"});
  Timing timing;
  // The best of three copies, so that neither side pays for a cold cache.
  timing.copy_seconds = 1e9;
  for (int i = 0; i < 3; ++i) {
    const auto copy_start = Clock::now();
    const std::string copy =
        "cp -r '" + builder.UserDir("bench") + "' '" + root + "/copy" + std::to_string(i) + "'";
    if (std::system(copy.c_str()) != 0) return timing;
    timing.copy_seconds = std::min(timing.copy_seconds, Seconds(copy_start));
  }

  SystemPlatform system;
  CountingPlatform platform(&system);
  testing::HeadlessView view;
  testing::RecordedBoxes boxes;  // the skip question is answered yes
  UpgradeTool tool(platform, view, builder.AppDir());
  tool.LoadUsers();
  tool.ShowUser(0);
  const auto start = Clock::now();
  const StartRequest request{0, "benchmark", skip_backup};
  timing.done = RunUpgrade(tool, request, boxes) == RunOutcome::kDone;
  timing.upgrade_seconds = Seconds(start);
  timing.flushes = platform.flushes;
  return timing;
}

}  // namespace

int main() {
  std::string pattern = (fs::temp_directory_path() / "dayledger-bench-XXXXXX").string();
  const std::string root = ::mkdtemp(pattern.data());
  bool all_done = true;
  for (const bool skip_backup : {true, false}) {
    const Timing t = Measure(root + "/run", skip_backup);
    all_done = all_done && t.done;
    std::printf("upgrade %s backup (1.00 encrypted, 100 entries a month): %.3f s%s, %d flushes\n",
                skip_backup ? "without" : "with   ", t.upgrade_seconds,
                t.done ? "" : " (did not finish)", t.flushes);
    std::printf("cp -r of the same user folder:                            %.3f s\n",
                t.copy_seconds);
    std::printf("ratio upgrade / copy:                                     %.2f\n",
                t.upgrade_seconds / t.copy_seconds);
  }
  fs::remove_all(root);
  return all_done ? 0 : 1;
}
