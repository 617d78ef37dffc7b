// The one ordered list of the start checks, and the lock's outcome as a refusal.
#include "floor/start_check_list.h"

#include "floor/machine_checks.h"
#include "platform/cp949_codec.h"
#include "state/file_names.h"

namespace dayledger {
namespace {

constexpr unsigned Of(Verb verb) { return 1u << static_cast<unsigned>(verb); }
constexpr unsigned kEvery = Of(Verb::kUpgrade) | Of(Verb::kRestore) | Of(Verb::kCheck);
// The commands that replace the user's files in place and copy them first.
constexpr unsigned kUpgrades = Of(Verb::kUpgrade) | Of(Verb::kCheck);

// Whom a check is about: what holds for the installation as a whole holds
// for every user of a run, and is asked about once.
enum class Scope { kInstallation, kUser };

struct StartCheck {
  Scope scope;
  unsigned verbs;
  Reply (*refuse)(const StartScene& scene);
};

// The question for a network drive: Enter alone, pressed out of habit,
// answers no, for the yes speaks for every PC.
Said OtherPcsQuestion() {
  Said asked(Say::kOtherPcsQuestion, NoticeKind::kQuestion);
  asked.no_by_default = true;
  return asked;
}

// A scheduler open on another PC cannot be seen from this one: the
// operator is asked, and Enter alone does not answer for the other PCs.
Reply AskOtherPcs(const StartScene& scene) {
  if (scene.others_closed ||
      !scene.installation.platform().OnNetworkDrive(scene.installation.folder())) {
    return Reply();
  }
  return Reply::Asked(OtherPcsQuestion(), Question::kOtherPcs);
}

// In this order: what only the operator can put right first. The lock comes
// after them all, so that nothing is held while they look.
const StartCheck kStartChecks[] = {
    {Scope::kInstallation, kEvery,
     [](const StartScene& scene) { return RefuseOtherAccount(scene.installation); }},
    // `check` notes it instead: it changes nothing.
    {Scope::kInstallation, Of(Verb::kUpgrade) | Of(Verb::kRestore), AskOtherPcs},
    // The scheduler left open would write its data back over the new. It
    // may be started while a run goes from user to user: asked for each.
    {Scope::kUser, kEvery,
     [](const StartScene& scene) { return RefuseRunningPrograms(scene.installation); }},
    // A link would take the change somewhere else.
    {Scope::kUser, kEvery,
     [](const StartScene& scene) { return RefuseLinks(scene.installation, scene.user); }},
    {Scope::kUser, kUpgrades,
     [](const StartScene& scene) {
       return RefuseUnchangeable(scene.installation.platform(),
                                 scene.installation.UserFolder(scene.user));
     }},
    {Scope::kUser, kUpgrades,
     [](const StartScene& scene) {
       return RefuseShortDisk(scene.installation, scene.user, scene.with_backup,
                              scene.merges_months);
     }},
};

// The first refusal or question of the checks about `scope`, in order.
Reply Walk(Scope scope, Verb verb, const StartScene& scene) {
  for (const StartCheck& check : kStartChecks) {
    if (check.scope != scope || (check.verbs & Of(verb)) == 0) continue;
    if (Reply refused = check.refuse(scene); refused.outcome != Outcome::kDone) return refused;
  }
  return Reply();
}

// The installation's checks, or what they answered earlier in the run. A
// question is no answer: it is asked again once answered.
Reply InstallationCleared(Verb verb, const StartScene& scene) {
  InstallationVerdict* verdict = scene.verdict;
  if (verdict != nullptr && verdict->reply) return *verdict->reply;
  Reply reply = Walk(Scope::kInstallation, verb, scene);
  if (verdict != nullptr && reply.outcome != Outcome::kAsk) verdict->reply = reply;
  return reply;
}

}  // namespace

Reply ClearToStart(Verb verb, const StartScene& scene, UserLock* lock) {
  if (Reply refused = InstallationCleared(verb, scene); refused.outcome != Outcome::kDone) {
    return refused;
  }
  if (Reply refused = Walk(Scope::kUser, verb, scene); refused.outcome != Outcome::kDone) {
    return refused;
  }
  Result<UserLock> taken = scene.installation.LockUser(scene.user);
  if (taken.ok()) *lock = std::move(*taken);
  // One program at a time changes a user's folder, in any window or terminal.
  return LockRefusal(scene.installation.LockOf(scene.user), taken.status());
}

Reply RefuseUserName(const Installation& installation, const std::string& user) {
  switch (CheckUserName(user)) {
    case UserNameFault::kNone:
      return Reply();
    case UserNameFault::kLeavesFolder:
      return Reply::Refused({Say::kProfileDamaged, NoticeKind::kError},
                            UserListPath(installation.app_dir()));
    case UserNameFault::kNotKeptApart:
    case UserNameFault::kToolsOwn:
      break;
  }
  Said unsafe{Say::kUnsafeUserName, NoticeKind::kError};
  unsafe.items = {Cp949ToUtf8Text(user)};
  return Reply::Refused(std::move(unsafe));
}

}  // namespace dayledger
