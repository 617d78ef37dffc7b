// The application's standard exception report: every error that ends a
// handler is shown here, with the error icon and the application title.
#pragma once

#include <exception>
#include <optional>
#include <string>

#include "platform/framework_error.h"
#include "platform/platform.h"

namespace dayledger {

// The text as the report shows it (UTF-8, period rule applied).
std::string ReportedText(Platform& platform, const std::exception& error);
void ReportError(Platform& platform, const std::exception& error);

// Runs one handler; an error ends it and goes to the report, and to
// `caught` when given. False then.
template <typename Handler>
bool RunReported(Platform& platform, Handler&& handler,
                 std::optional<FrameworkError>* caught = nullptr) {
  try {
    handler();
    return true;
  } catch (const FrameworkError& error) {
    if (caught) caught->emplace(error);
    ReportError(platform, error);
  } catch (...) {
    // A foreign error is reported as a framework error with an empty text.
    if (caught) caught->emplace("");
    ReportError(platform, FrameworkError(""));
  }
  return false;
}

}  // namespace dayledger
