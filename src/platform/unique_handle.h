// An owned operating-system handle (a POSIX descriptor, a Windows file or
// search handle): closed when it goes out of scope, movable, not copyable.
#pragma once

#include <utility>

namespace dayledger {

// Traits: `Type`, `static Type Invalid()` and `static bool Close(Type)`.
template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  ~UniqueHandle() {
    if (valid()) Traits::Close(handle_);
  }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      if (valid()) Traits::Close(handle_);
      handle_ = std::exchange(other.handle_, Invalid());
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  bool valid() const { return handle_ != Invalid(); }
  Type get() const { return handle_; }
  // Closes now and tells whether that worked (a write may fail only here).
  bool Close() { return Traits::Close(std::exchange(handle_, Invalid())); }

 private:
  static Type Invalid() { return Traits::Invalid(); }
  Type handle_ = Invalid();
};

}  // namespace dayledger
