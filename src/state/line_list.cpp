// LineList's bounds-checked access.
#include "state/line_list.h"

#include "platform/framework_error.h"

namespace dayledger {

void LineList::Check(int index) const {
  if (index < 0 || index >= Count()) throw ListIndexOutOfBounds(index, source_);
}

const std::string& LineList::Get(int index) const {
  Check(index);
  return lines_[static_cast<size_t>(index)];
}

void LineList::Replace(int index, std::string line) {
  Check(index);
  lines_[static_cast<size_t>(index)] = std::move(line);
}

void LineList::Delete(int index) {
  Check(index);
  lines_.erase(lines_.begin() + index);
}

}  // namespace dayledger
