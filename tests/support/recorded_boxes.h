// Message boxes that are recorded and answered instead of shown.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "presenter/message_boxes.h"

namespace dayledger::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  int flags;
  std::string behind;  // what `window` said when the box opened
};

class RecordedBoxes : public MessageBoxes {
 public:
  int Show(const std::string& text, const std::string& caption, int flags) override;

  // Messages shown so far, as "kind:text": the kind of box ("error",
  // "information", "question" or "question, no by default"), or its flags when they are none of
  // those.
  std::vector<std::string> MessageLines() const;

  std::vector<ShownMessage> messages;
  std::deque<int> answers;  // next answers; OK, or Yes to a question, when empty
  // What the window shows behind a box, read as each box opens.
  std::function<std::string()> window;
};

}  // namespace dayledger::testing
