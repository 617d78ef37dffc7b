#include "platform/overlay_platform.h"

namespace dayledger {

// One spelling per location: a doubled separator counts once.
std::string OverlayPlatform::Key(const std::string& path) {
  std::string key;
  for (char c : path) {
    if (c == '/') c = '\\';
    if (c == '\\' && !key.empty() && key.back() == '\\') continue;
    key.push_back(c);
  }
  return key;
}

bool OverlayPlatform::TestOpen(const std::string& path) {
  std::string ignored;
  return ReadFile(path, &ignored);
}

bool OverlayPlatform::ReadFile(const std::string& path, std::string* bytes) {
  last_path_ = path;
  const std::string key = Key(path);
  if (deleted_.count(key) != 0) return false;
  for (const auto* layer : {&written_, &substitutes_}) {
    const auto it = layer->find(key);
    if (it != layer->end()) {
      *bytes = it->second;
      return true;
    }
  }
  return target()->ReadFile(path, bytes);
}

WriteResult OverlayPlatform::WriteFile(const std::string& path, const std::string& bytes) {
  const std::string key = Key(path);
  deleted_.erase(key);
  written_[key] = bytes;
  return WriteResult::kOk;
}

bool OverlayPlatform::CreateDirectory(const std::string& /*path*/) { return true; }

bool OverlayPlatform::CopyFile(const std::string& from, const std::string& to) {
  std::string bytes;
  if (!ReadFile(from, &bytes)) return false;
  return WriteFile(to, bytes) == WriteResult::kOk;
}

bool OverlayPlatform::DeleteFile(const std::string& path) {
  deleted_.insert(Key(path));
  return true;
}

int OverlayPlatform::CopyTree(const std::string& /*from*/, const std::string& /*to*/) { return 0; }

std::optional<std::vector<std::string>> OverlayPlatform::ListQbdFiles(const std::string& folder) {
  last_path_ = folder;
  if (empty_folders_.count(Key(folder)) != 0) return std::vector<std::string>{};
  return target()->ListQbdFiles(folder);
}

void OverlayPlatform::Substitute(const std::string& path, const std::string& bytes) {
  substitutes_[Key(path)] = bytes;
}

void OverlayPlatform::SubstituteEmptyFolder(const std::string& folder) {
  empty_folders_.insert(Key(folder));
}

void OverlayPlatform::ResetWrites() {
  written_.clear();
  deleted_.clear();
}

}  // namespace dayledger
