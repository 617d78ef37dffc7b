// The application's standard exception report: every error that ends a
// handler is shown here, with the error icon and the application title.
#pragma once

#include <exception>
#include <string>

#include "platform/framework_error.h"
#include "platform/platform.h"

namespace dayledger {

// The text as the report shows it (UTF-8, period rule applied).
std::string ReportedText(Platform& platform, const std::exception& error);
void ReportError(Platform& platform, const std::exception& error);

// Runs one handler; an error ends it and goes to the report. False then.
template <typename Handler>
bool RunReported(Platform& platform, Handler&& handler) {
  try {
    handler();
    return true;
  } catch (const FrameworkError& error) {
    ReportError(platform, error);
  } catch (...) {
    // A foreign error is reported as a framework error with an empty text.
    ReportError(platform, FrameworkError(""));
  }
  return false;
}

}  // namespace dayledger
