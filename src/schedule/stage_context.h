// What the stage work of one driver tick is handed: the platform, the
// installation and the user as values, and the progress log.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"
#include "schedule/unlocked_user.h"
#include "state/line_list.h"

namespace dayledger {

// Receives progress: a log line (UTF-8), or how far a long step has come.
class StageObserver {
 public:
  virtual ~StageObserver() = default;
  virtual void AddLog(const std::string& text) = 0;
  // `done` of `total` units of the named work (its name in the log's
  // language); for progress displays only.
  virtual void Progress(const std::string& /*what*/, int /*done*/, int /*total*/) {}
};

struct StageContext {
  Platform& platform;
  std::string app_dir;  // ends in a backslash
  const UnlockedUser& user;
  StageObserver& observer;

  void Log(const std::string& text) const { observer.AddLog(text); }
};

}  // namespace dayledger
