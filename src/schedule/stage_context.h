// What the stage work of one driver tick is handed: the platform, the
// installation and the user, and an observer of its progress, told what
// happened rather than the words for it.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"
#include "schedule/unlocked_user.h"
#include "state/line_list.h"

namespace dayledger {

// What the stage work has done, each a line of the progress log.
enum class StageNote {
  kYearStamped,  // a year's months stamped; with the year
  kYearLoaded,   // a year's months merged; with the year
  kSchedulesMerged,
  kRepeatCreated,
  kGroupInformationDone,
  kGroupsDone,
  kAnniversariesCopied,
  kAnniversariesDone,
};

// The long pieces of stage work, for a progress display.
enum class LongWork { kSchedules, kAnniversaries };

class StageObserver {
 public:
  virtual ~StageObserver() = default;
  virtual void Note(StageNote note, int year = 0) = 0;
  // `done` of `total` units of the work; for progress displays only.
  virtual void Progress(LongWork /*work*/, int /*done*/, int /*total*/) {}
};

struct StageContext {
  Platform& platform;
  Path app_dir;  // its text ends in a backslash
  const UnlockedUser& user;
  StageObserver& observer;

  void Note(StageNote note) const { observer.Note(note); }
};

}  // namespace dayledger
