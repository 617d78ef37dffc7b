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

WriteResult TestPlatform::WriteFile(const std::string& path, const std::string& bytes) {
  if (!fail_write_path.empty() && Native(path) == fail_write_path) return fail_write_result;
  const WriteResult result = SystemPlatform::WriteFile(path, bytes);
  if (result == WriteResult::kOk) written.push_back(Native(path));
  return result;
}

bool TestPlatform::CopyFile(const std::string& from, const std::string& to) {
  if (!fail_copy_from.empty() && Native(from) == fail_copy_from) return false;
  return SystemPlatform::CopyFile(from, to);
}

int TestPlatform::CopyTree(const std::string& from, const std::string& to) {
  if (fail_copy_tree) return 1;
  return SystemPlatform::CopyTree(from, to);
}

}  // namespace dayledger::testing
