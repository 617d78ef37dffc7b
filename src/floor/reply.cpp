// A reply's reason, the replies every verb ends with, and the exit status
// of an outcome.
#include "floor/reply.h"

namespace dayledger {

Say Reply::reason() const {
  if (outcome == Outcome::kDone || said.empty()) return Say::kNone;
  return said.back().say;
}

Reply Reply::Ended(Outcome outcome, Said said, const Path& path) {
  Reply reply;
  reply.outcome = outcome;
  reply.said.push_back(std::move(said));
  reply.path = path;
  return reply;
}

Reply Reply::Asked(Said said, Question question) {
  said.kind = NoticeKind::kQuestion;
  Reply asked = Ended(Outcome::kAsk, std::move(said));
  asked.question = question;
  return asked;
}

Reply Told(Outcome outcome, Say say, const Path& place) {
  const NoticeKind kind =
      outcome == Outcome::kStopped ? NoticeKind::kError : NoticeKind::kInformation;
  return Reply::Ended(outcome, Said(say, kind, place), place);
}

Reply Stopped(const FrameworkError& error) {
  Said said{Say::kStoppedByError, NoticeKind::kError};
  said.error = error.status();
  Reply stopped = Reply::Ended(Outcome::kStopped, std::move(said), error.path());
  stopped.error = error.status();
  return stopped;
}

Reply LockRefusal(const Path& lock, const Status& taken) {
  if (taken.ok()) return Reply();
  if (taken.kind == StatusKind::kBusy) return Reply::Refused({Say::kUserBusy});
  Said said{Say::kLockUnavailable, NoticeKind::kError, lock};
  said.error = taken;
  return Reply::Refused(std::move(said), lock);
}

void NameRecord(const Path& record, bool kept, Reply* reply) {
  for (Said& said : reply->said) {
    if (said.kind != NoticeKind::kError) continue;
    said.record = record;
    said.record_kept = kept;
  }
}

int ExitStatusOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::kDone:
      return kExitDone;
    case Outcome::kStopped:
      return kExitStopped;
    case Outcome::kAsk:
    case Outcome::kRefused:
      break;
  }
  return kExitRefused;
}

}  // namespace dayledger
