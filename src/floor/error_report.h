// The application's standard exception report: every error that ends a verb
// becomes a notice with the error icon, shown under the application title.
#pragma once

#include <exception>
#include <optional>
#include <string>

#include "floor/notice.h"
#include "floor/reply.h"
#include "platform/framework_error.h"
#include "platform/platform.h"

namespace dayledger {

// The text as the report shows it (UTF-8, period rule applied): the one
// place where an error's kind and path become the words a person reads. It
// names the file and ends with the system's reason and code, when known.
std::string ReportedText(Platform& platform, const std::exception& error);
// What follows a failure's own sentence: the words for a virus scanner or
// a protected folder that stood behind it, and the system's reason and
// code, each on a line of its own; empty when the system gave no code.
std::string ReasonLines(Platform& platform, const Path& path, int code);
// A stopped reply whose one notice is the report of `error`.
Reply Stopped(Platform& platform, const FrameworkError& error);
// A reply of `outcome` whose one notice is the text, followed by the tool
// path it is about, as shown, when one is given.
Reply Ended(Platform& platform, Outcome outcome, const std::string& text,
            const Path& path = Path());

// Runs `work`, which returns a Reply; an error that ends it comes back as
// the stopped reply of its report. A foreign error is reported as a
// framework error with an empty text.
template <typename Work>
Reply Guarded(Platform& platform, Work&& work) {
  try {
    return work();
  } catch (const FrameworkError& error) {
    return Stopped(platform, error);
  } catch (...) {
    return Stopped(platform, FrameworkError(""));
  }
}

}  // namespace dayledger
