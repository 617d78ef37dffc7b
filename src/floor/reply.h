// What a verb of the upgrade did, as a value: its outcome, what it tells as
// kinds and facts, what is due next, and what the selected user's profile
// says.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "floor/said.h"
#include "platform/framework_error.h"
#include "platform/status.h"

namespace dayledger {

enum class Outcome {
  kDone,     // the verb did its work
  kAsk,      // a question must be answered first (the one told is the question)
  kRefused,  // a check said no; nothing changed
  kStopped,  // an error or a failed backup ended it
};

// The question a reply of kAsk asks.
enum class Question {
  kNone,
  kOtherPcs,    // the installation lies on a network drive: is the scheduler
                // closed on every PC that uses it?
  kSkipBackup,  // the operator chose to skip the backup: go on all the same?
};

// What is due next: the backup, or the next stage.
enum class Next { kNothing, kBackup, kStage };

// What the selected user's profile says; nobody is selected when `user` is
// empty. A part left empty is not known, and a window keeps what it showed
// before (a damaged profile shows only the name).
struct UserView {
  std::string user;                    // UTF-8
  std::optional<std::string> version;  // the data version code (CP949)
  // Whether the data is encrypted, so a password is needed; false for nobody.
  std::optional<bool> encrypted;
};

struct Reply {
  Outcome outcome = Outcome::kDone;
  std::vector<Said> said;  // to tell, in order, after the view
  Next next = Next::kNothing;
  Question question = Question::kNone;  // what an answer of yes confirms
  bool finished = false;                // the upgrade reached the disk as a whole
  std::optional<UserView> view;
  Status error;  // the error that stopped the verb, its words included; ok when none
  // The file a refusal or an error is about; empty when none.
  Path path;
  // The record of the run it ended, where one was kept; empty when none.
  Path record;

  // Why a verb that did not do its work ended: the kind of what it told
  // last (a wrong password is kWrongPassword); kNone for one that did.
  Say reason() const;

  // A reply of `outcome` that tells `said`, about `path`.
  static Reply Ended(Outcome outcome, Said said, const Path& path = Path());
  static Reply Refused(Said said, const Path& path = Path()) {
    return Ended(Outcome::kRefused, std::move(said), path);
  }
  // A reply of kAsk that asks `said` for `question`.
  static Reply Asked(Said said, Question question);
};

// A reply of `outcome` that tells `say` about `place` (when one is given),
// with the error icon where it stops a verb.
Reply Told(Outcome outcome, Say say, const Path& place = Path());

// A stopped reply that tells `error`.
Reply Stopped(const FrameworkError& error);

// The user's lock (`lock`), not had: another program holds it, or its file
// cannot be opened; a reply of kDone when it was taken.
Reply LockRefusal(const Path& lock, const Status& taken);

// A stopped run's errors name its record, or say it could not be kept.
void NameRecord(const Path& record, bool kept, Reply* reply);

// Runs `work`, which returns a Reply; an error that ends it comes back as
// the stopped reply that tells it. A foreign error is told as a framework
// error with an empty text.
template <typename Work>
Reply Guarded(Work&& work) {
  try {
    return work();
  } catch (const FrameworkError& error) {
    return Stopped(error);
  } catch (...) {
    return Stopped(FrameworkError(""));
  }
}

// How a run ended for whoever started it, as the terminal program's exit
// status; a run's record states it too.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;  // a check said no, or a question was declined
inline constexpr int kExitMisused = 2;  // the command line was wrong
inline constexpr int kExitStopped = 3;
int ExitStatusOf(Outcome outcome);

}  // namespace dayledger
