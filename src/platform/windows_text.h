// Text between a Windows code page (949, UTF-8) and wide characters.
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace dayledger {

inline std::wstring Widen(const std::string& text, UINT code_page) {
  if (text.empty()) return std::wstring();
  const int size =
      ::MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        size);
  return wide;
}

// Characters the code page cannot hold become "?" (UTF-8 holds them all).
inline std::string Narrow(const std::wstring& wide, UINT code_page) {
  if (wide.empty()) return std::string();
  const char* replacement = code_page == CP_UTF8 ? nullptr : "?";
  const int size = ::WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, replacement, nullptr);
  std::string text(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        replacement, nullptr);
  return text;
}

}  // namespace dayledger
