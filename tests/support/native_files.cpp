// Folder trees as maps.
#include "support/native_files.h"

#include <filesystem>

#include "demo/installation_builder.h"

namespace dayledger::testing {

namespace fs = std::filesystem;

NativeTree SnapshotTree(const std::string& native_root) {
  NativeTree tree;
  for (const auto& entry : fs::recursive_directory_iterator(native_root)) {
    const std::string name = fs::relative(entry.path(), native_root).string();
    if (entry.is_symlink()) {
      tree[name] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      tree[name] = demo::InstallationBuilder::ReadNative(entry.path().string());
    } else {
      tree[name + "/"] = "";
    }
  }
  return tree;
}

}  // namespace dayledger::testing
