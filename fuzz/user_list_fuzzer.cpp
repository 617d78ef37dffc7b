// The user list and the profiles on any bytes: filling the list and
// selecting every user ends normally or with the tool's own error, never a
// crash or a read outside a list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/overlay_platform.h"
#include "platform/system_platform.h"
#include "upgrade/error_report.h"
#include "upgrade/headless_port.h"
#include "upgrade/upgrade_tool.h"

namespace {

// Nothing on disk is read: every file comes from the overlay's stand-ins.
class Quiet : public dayledger::SystemPlatform {
 public:
  int MessageBox(const std::string&, const std::string&, int) override { return 1; }
  void ProcessMessages() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dayledger;
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The user list, then after a zero byte the profile every user gets.
  const size_t split = input.find('\0');
  const std::string list = input.substr(0, split);
  const std::string profile = split == std::string::npos ? "" : input.substr(split + 1);
  const std::string app_dir = "\\nonexistent-dayledger-fuzz\\";
  Quiet disk;
  OverlayPlatform platform(&disk);
  platform.Substitute(app_dir + "users\\userlist.kvd", list);
  HeadlessPort port;
  UpgradeTool tool(platform, port, app_dir);
  bool filled = false;
  RunReported(platform, [&] { filled = tool.FillUserList(); });
  if (!filled) return 0;
  for (size_t i = 0; i < port.users.size(); ++i) {
    const std::string name = platform.Utf8ToCp949(port.users[i]);
    if (IsSafeUserName(name))
      platform.Substitute(app_dir + "users\\" + name + "\\profile.qbd", profile);
    port.selected = static_cast<int>(i);
    RunReported(platform, [&] { tool.ListBox1Click(); });
  }
  return 0;
}
