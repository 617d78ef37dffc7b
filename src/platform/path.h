// A place on the disk as the tool names it.
#pragma once

#include <string>
#include <string_view>

namespace dayledger {

// A file's or folder's path in the tool's form: Windows-style, with
// backslashes, in UTF-8 ("C:\app\\users\홍길동\profile.qbd"). The text keeps
// the spelling it was made with, since messages show a path as the
// scheduler's own do: its folder (which ends in a backslash) and "\users"
// make the doubled separator its users know. Two spellings of one place
// compare equal.
class Path {
 public:
  Path() = default;
  explicit Path(std::string utf8) : text_(std::move(utf8)) {}

  // As spelled; what a message shows.
  const std::string& text() const { return text_; }
  bool empty() const { return text_.empty(); }

  // One spelling per place: "/" as "\", a doubled separator and a trailing
  // one dropped ("\app\\users\u\" -> "\app\users\u"); a network path's
  // leading "\\" kept.
  Path Normal() const;
  // The folder that holds it (normal form); empty when there is none.
  Path Parent() const;
  // The last component.
  std::string Name() const;
  // `name` below this path: one or more components, UTF-8.
  Path operator/(std::string_view name) const;
  // The same place with `suffix` added to its last component ("x.qbd" -> "x.qbd.tmp").
  Path WithSuffix(std::string_view suffix) const { return Path(text_ + std::string(suffix)); }
  // This path, or one below it, holds `other`.
  bool Holds(const Path& other) const;
  // `other`'s components below this path ("" for this path itself); only
  // when Holds(other).
  std::string RelativeOf(const Path& other) const;

  friend bool operator==(const Path& a, const Path& b) {
    return a.text_ == b.text_ || Compare(a, b) == 0;
  }
  friend bool operator<(const Path& a, const Path& b) { return Compare(a, b) < 0; }

 private:
  // The normal form's text: this path's own when it is normal already (as
  // the paths the tool makes mostly are), else one made in `made`.
  const std::string& NormalText(std::string* made) const;
  // The order of the normal forms.
  static int Compare(const Path& a, const Path& b);

  std::string text_;
};

// The text with its ASCII letters in lower case: the form in which Windows
// compares names, which folds no byte of a longer UTF-8 or CP949 character.
inline std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace dayledger
