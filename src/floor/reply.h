// What a verb of the upgrade did, as a value: its outcome, the notices to
// show, what is due next, and what the selected user's profile says.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "floor/notice.h"
#include "platform/status.h"

namespace dayledger {

enum class Outcome {
  kDone,     // the verb did its work
  kAsk,      // a question must be answered first (the notice is the question)
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
  std::vector<Notice> notices;  // to show, in order, after the view
  Next next = Next::kNothing;
  Question question = Question::kNone;  // what an answer of yes confirms
  bool wrong_password = false;          // the password was not the profile's
  bool finished = false;                // the upgrade reached the disk as a whole
  std::optional<UserView> view;
  Status error;  // the error that stopped the verb, its words included; ok when none
  // The file a refusal or an error is about; empty when none.
  Path path;

  static Reply Refused(const std::string& text, NoticeKind kind, const Path& path = Path());
};

// How a run ended for whoever started it, as the terminal program's exit
// status; a run's record states it too.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;  // a check said no, or a question was declined
inline constexpr int kExitMisused = 2;  // the command line was wrong
inline constexpr int kExitStopped = 3;
int ExitStatusOf(Outcome outcome);

}  // namespace dayledger
