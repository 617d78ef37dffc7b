// The user list and the profiles on any bytes: filling the list and
// selecting every user ends normally or with the tool's own error, never a
// crash or a read outside a list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "commit/overlay_platform.h"
#include "platform/cp949_codec.h"
#include "platform/system_platform.h"
#include "state/file_names.h"
#include "upgrade/upgrade_tool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dayledger;
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The user list, then after a zero byte the profile every user gets.
  const size_t split = input.find('\0');
  const std::string list = input.substr(0, split);
  const std::string profile = split == std::string::npos ? "" : input.substr(split + 1);
  const Path app_dir("\\nonexistent-dayledger-fuzz\\");
  // Nothing on disk is read: every file comes from the overlay's stand-ins.
  SystemPlatform disk;
  OverlayPlatform platform(&disk);
  platform.Substitute(UserListPath(app_dir), list);
  UpgradePort no_log;
  std::vector<Said> notes;
  Result<Installation> opened = Installation::Open(platform, app_dir, &notes);
  if (!opened.ok()) return 0;
  Installation& installation = *opened;
  UpgradeTool tool(installation, no_log);
  if (tool.LoadUsers().outcome != Outcome::kDone) return 0;
  for (size_t i = 0; i < tool.users().size(); ++i) {
    const std::string name = dayledger::Utf8ToCp949Text(tool.users()[i]);
    if (CheckUserName(name) == UserNameFault::kNone)
      platform.Substitute(ProfilePath(UserFolder(app_dir, name)), profile);
    tool.ShowUser(tool.NameAt(static_cast<int>(i)));
  }
  return 0;
}
