// dayledger-upgrade: the upgrade from a terminal, on the same core as the window.
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "floor/installation.h"
#include "floor/tool_version.h"
#include "floor/version_steps.h"
#include "floor/words.h"
#include "platform/native_path.h"
#include "platform/path.h"
#include "platform/system_platform.h"
#include "state/version_code.h"

namespace dayledger::cli {
namespace {

// The installation's folder as given, in any characters the system can name.
Path ToolAppDir(const std::string& native) {
  const std::u8string u8 =
      std::filesystem::absolute(std::filesystem::u8path(native)).lexically_normal().u8string();
  std::string path(u8.begin(), u8.end());
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return ToolPathFromNative(path);
}

int Run(int argc, char* argv[]) {
  const Result<Options> parsed = ParseOptions(Console::Arguments(argc, argv));
  if (!parsed.ok()) {
    std::fprintf(stderr, "dayledger-upgrade: %s\nTry 'dayledger-upgrade --help'.\n",
                 parsed.status().detail.c_str());
    return kExitMisused;
  }
  const Options& options = *parsed;
  if (options.command == Command::kHelp) {
    std::fputs(HelpText().c_str(), stdout);
    return kExitDone;
  }
  if (options.command == Command::kVersion) {
    std::printf("dayledger-upgrade %s (data version %s)\n", kToolVersion,
                ShownVersion(VersionChain::Standard().target()).c_str());
    return kExitDone;
  }
  SystemPlatform system;
  Console console;
  OpenedInstallation opened = options.app_dir.empty()
                                  ? OpenProgramInstallation(system)
                                  : OpenInstallation(system, ToolAppDir(options.app_dir));
  return RunCommand(opened, console, options);
}

}  // namespace
}  // namespace dayledger::cli

int main(int argc, char* argv[]) { return dayledger::cli::Run(argc, argv); }
