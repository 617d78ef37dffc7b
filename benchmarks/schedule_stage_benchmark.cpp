// Times the whole schedule stage (steps to 1.01, 1.02 and 1.03 in one driver
// tick) for a 1.00 user with encrypted data and 100 entries a month, against
// `cp -r` of the same user folder. Prints both and their ratio.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "demo/installation_builder.h"
#include "platform/console_platform.h"
#include "upgrade/headless_port.h"
#include "upgrade/upgrade_tool.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  using namespace dayledger;
  std::string pattern = (fs::temp_directory_path() / "dayledger-bench-XXXXXX").string();
  const std::string root = ::mkdtemp(pattern.data());
  demo::InstallationBuilder builder(root + "/app");
  builder.WriteTemplates();
  builder.WriteUser({"bench", "10000", "benchmark", 100, 4, 4});
  builder.WriteUserList({"bench"});

  const auto copy_start = Clock::now();
  const std::string copy = "cp -r '" + builder.UserDir("bench") + "' '" + root + "/copy'";
  if (std::system(copy.c_str()) != 0) return 1;
  const double copy_seconds = Seconds(copy_start);

  ConsolePlatform platform;
  HeadlessPort port;
  port.password = "benchmark";
  port.skip_backup = true;
  platform.question_answer = kIdYes;
  UpgradeTool tool(platform, port, builder.AppDir());
  tool.FormCreate();
  tool.Button1Click();
  tool.Timer2Timer();
  tool.Timer1Timer();  // stage -1: profile and versions
  const auto stage_start = Clock::now();
  tool.Timer1Timer();  // stage 0: the schedule stage
  const double stage_seconds = Seconds(stage_start);
  const bool done = tool.state().UpgradeState == 1;

  std::printf("schedule stage (1.00 encrypted, 100 entries a month): %.3f s%s\n", stage_seconds,
              done ? "" : " (did not finish)");
  std::printf("cp -r of the same user folder:                        %.3f s\n", copy_seconds);
  std::printf("ratio stage / copy:                                    %.1f\n",
              stage_seconds / copy_seconds);
  fs::remove_all(root);
  return done ? 0 : 1;
}
