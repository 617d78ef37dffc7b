// Files read whole and folder trees as maps.
#include "support/native_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace dayledger::testing {

namespace fs = std::filesystem;

std::string ReadWhole(const std::string& native_path) {
  std::ifstream in(native_path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

NativeTree SnapshotTree(const std::string& native_root) {
  NativeTree tree;
  for (const auto& entry : fs::recursive_directory_iterator(native_root)) {
    const std::string name = fs::relative(entry.path(), native_root).string();
    if (entry.is_symlink()) {
      tree[name] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      tree[name] = ReadWhole(entry.path().string());
    } else {
      tree[name + "/"] = "";
    }
  }
  return tree;
}

}  // namespace dayledger::testing
