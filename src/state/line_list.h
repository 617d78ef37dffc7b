// A list of byte lines with the framework's bounds checks: reaching past the
// end raises "List index out of bounds (%d)", naming the file the lines
// came from as the error's path.
#pragma once

#include <string>
#include <vector>

#include "platform/path.h"

namespace dayledger {

class LineList {
 public:
  LineList() = default;
  explicit LineList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& Get(int index) const;
  void Replace(int index, std::string line);
  void Delete(int index);
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Clear() { lines_.clear(); }
  // `source` is the file the lines were read from.
  void Assign(std::vector<std::string> lines, Path source = Path()) {
    lines_ = std::move(lines);
    source_ = std::move(source);
  }
  const Path& source() const { return source_; }

  const std::vector<std::string>& lines() const { return lines_; }
  std::vector<std::string>& lines() { return lines_; }

 private:
  void Check(int index) const;
  std::vector<std::string> lines_;
  Path source_;
};

}  // namespace dayledger
