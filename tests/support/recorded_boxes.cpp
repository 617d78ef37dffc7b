// Message boxes recorded and answered.
#include "support/recorded_boxes.h"

namespace dayledger::testing {

int RecordedBoxes::Show(const std::string& text, const std::string& caption, int flags) {
  messages.push_back({text, caption, flags, window ? window() : ""});
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return (flags & ~kMbDefaultButton2) == kMbQuestionYesNo ? kIdYes : kIdOk;
}

std::vector<std::string> RecordedBoxes::MessageLines() const {
  std::vector<std::string> lines;
  for (const ShownMessage& m : messages) {
    const std::string kind = m.flags == kMbError           ? "error"
                             : m.flags == kMbInformation   ? "information"
                             : m.flags == kMbQuestionYesNo ? "question"
                             : m.flags == (kMbQuestionYesNo | kMbDefaultButton2)
                                 ? "question, no by default"
                                 : std::to_string(m.flags);
    lines.push_back(kind + ":" + m.text);
  }
  return lines;
}

}  // namespace dayledger::testing
