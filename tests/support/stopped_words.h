// The lines the tool adds after a stopped run's sentence, as tests expect
// them: the system's reason for a code, and where the run's record lies.
#pragma once

#include <string>

#include "floor/run_record.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "texts/texts.h"

namespace dayledger::testing {

// "\n(오류 5: Input/output error)"; nothing for 0.
inline std::string ReasonShown(int code) {
  return code == 0 ? "" : "\n" + texts::SystemReasonShown(code, SystemErrorText(code));
}

// "\n파일 : <path>"
inline std::string FileShown(const std::string& path) { return "\n" + (texts::kFileNamed + path); }

// Where the record of `user`'s run started at `time` lies, as a stopped
// run's message names it.
inline std::string RecordNamed(const Path& app_dir, const std::string& user, const LocalTime& time,
                               const std::string& number = "") {
  return texts::kRecordKeptAt + app_dir.Normal().text() + "\\upgrade_backup\\.dlu\\logs\\" + user +
         "\\" + RecordStamp(time) + number + ".txt";
}

}  // namespace dayledger::testing
