// The words people read, made in one place: what the core has to say is
// handed here as a kind and its facts, and an error that ends a verb as
// itself; this file makes the sentence (word for word as the windows and the
// terminal program show it, UTF-8). Every error that ends a verb becomes a
// notice with the error icon, shown under the application title.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "commit/commit.h"
#include "floor/notice.h"
#include "floor/reply.h"
#include "floor/said.h"
#include "platform/framework_error.h"
#include "platform/platform.h"

namespace dayledger {

// The sentence for `say`.
const char* Words(Say say);

// The text as the report shows it (UTF-8, period rule applied): the one
// place where an error's kind and path become the words a person reads. It
// names the file and ends with the system's reason and code, when known.
std::string ReportedText(Platform& platform, const std::exception& error);
// What follows a failure's own sentence: the words for a virus scanner or
// a protected folder that stood behind it, and the system's reason and
// code, each on a line of its own; empty when the system gave no code.
std::string ReasonLines(Platform& platform, const Path& path, int code);

// The message for what the core told, as `platform` shows its places.
Notice Worded(Platform& platform, const Said& said);
// Every message of the reply, in order.
std::vector<Notice> WordedAll(Platform& platform, const Reply& reply);
// What opening an installation finished or undid, a line for each note.
std::string RecoveryMessage(Platform& platform, const std::vector<Said>& notes);
// The words of the reply's last message; empty when it told nothing.
std::string LastWords(Platform& platform, const Reply& reply);

}  // namespace dayledger
