#include "support/test_platform.h"

#include <cstdlib>
#include <filesystem>

namespace dayledger::testing {

TestPlatform::TestPlatform() {
  std::string pattern = (std::filesystem::temp_directory_path() / "dayledger-test-XXXXXX").string();
  temp_dir_ = ::mkdtemp(pattern.data());
}

TestPlatform::~TestPlatform() {
  std::error_code ec;
  std::filesystem::remove_all(temp_dir_, ec);
}

int TestPlatform::MessageBox(const std::string& text, const std::string& caption, int flags) {
  messages.push_back({text, caption, flags});
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return flags == 36 ? 6 : 1;
}

IoStatus TestPlatform::WriteFile(const std::string& path, const std::string& bytes) {
  if (!fail_write_path.empty() && Native(path) == fail_write_path) {
    return IoStatus::Failed(fail_write_error, path);
  }
  const IoStatus result = SystemPlatform::WriteFile(path, bytes);
  if (result.ok()) written.push_back(Native(path));
  return result;
}

bool TestPlatform::CopyFile(const std::string& from, const std::string& to) {
  if (!fail_copy_from.empty() && Native(from) == fail_copy_from) return false;
  return SystemPlatform::CopyFile(from, to);
}

std::optional<std::vector<FolderEntry>> TestPlatform::ListFolder(const std::string& folder) {
  if (fail_folder_listing) return std::nullopt;
  return SystemPlatform::ListFolder(folder);
}

}  // namespace dayledger::testing
