#include "platform/windows_api.h"

#include "platform/cp949_codec.h"

namespace dayledger {
namespace {

std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return std::string();
  const int wide_size =
      ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(wide_size), L'\0');
  ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), wide_size);
  const char* replacement = to == CP_UTF8 ? nullptr : "?";
  const int size = ::WideCharToMultiByte(to, 0, wide.data(), wide_size, nullptr, 0, replacement,
                                         nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(to, 0, wide.data(), wide_size, out.data(), size, replacement, nullptr);
  return out;
}

}  // namespace

std::string Cp949ToUtf8Text(const std::string& cp949) { return Convert(cp949, 949, CP_UTF8); }

std::string Utf8ToCp949Text(const std::string& utf8) { return Convert(utf8, CP_UTF8, 949); }

}  // namespace dayledger
