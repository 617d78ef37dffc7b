// The window flow: replies turned into the window's list, labels, input
// and timers.
#include "presenter/window_flow.h"

#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "state/version_code.h"
#include "texts/texts.h"
#include "upgrade/upgrade_runner.h"

namespace dayledger {

bool OpenedForWindow(const OpenedInstallation& opened, MessageBoxes& boxes) {
  if (opened.installation.ok()) return true;
  ShowNotice(boxes, {RecoveryMessage(*opened.view, opened.notes), NoticeKind::kError});
  return false;
}

WindowFlow::WindowFlow(Installation& installation, WindowView& view, MessageBoxes& boxes,
                       std::vector<Said> opening_notes, const VersionChain& chain)
    : installation_(installation),
      view_(view),
      boxes_(boxes),
      opening_notes_(std::move(opening_notes)),
      chain_(chain),
      tool_(installation, view, chain) {}

Reply WindowFlow::Open() {
  // The design's caption is the version of its day; the window shows the
  // one the version table leads to.
  view_.SetTargetVersionLabel(ShownVersion(chain_.target()));
  const std::string notes = RecoveryMessage(installation_.platform(), opening_notes_);
  if (!notes.empty()) ShowNotice(boxes_, {notes, NoticeKind::kInformation});
  const Reply reply = tool_.LoadUsers();
  // A missing list leaves the window's list as it was; names read before
  // an error are listed.
  if (reply.outcome != Outcome::kRefused) {
    view_.ClearUsers();
    for (const std::string& name : tool_.users()) view_.AddUser(name);
  }
  Show(reply);
  if (reply.outcome != Outcome::kDone) return reply;
  if (!tool_.users().empty()) view_.SelectUser(0);
  return UserClicked();
}

Reply WindowFlow::UserClicked() {
  const Reply reply = tool_.ShowUser(tool_.NameAt(view_.SelectedUser()));
  Show(reply);
  return reply;
}

Reply WindowFlow::StartClicked() {
  StartRequest request{tool_.NameAt(view_.SelectedUser()), view_.Password(),
                       view_.SkipBackupChecked()};
  BoxedNotices notices(installation_.platform(), boxes_);
  const Reply reply = StartAsking(tool_, request, notices);
  Show(reply);
  if (reply.next == Next::kBackup) view_.SetInputEnabled(false);
  Arm(reply.next);
  return reply;
}

Reply WindowFlow::BackupTick() {
  view_.SetBackupTimer(false);
  const Reply reply = tool_.Backup(view_.SkipBackupChecked());
  Show(reply);
  Arm(reply.next);
  return reply;
}

Reply WindowFlow::StageTick() {
  // Disarmed first: an error ends the tick and with it the upgrade.
  view_.SetDriverTimer(false);
  const Reply reply = tool_.RunStage();
  Show(reply);
  if (reply.finished) {
    view_.SetInputEnabled(true);
    UserClicked();
  }
  Arm(reply.next);
  return reply;
}

void WindowFlow::Show(const Reply& reply) {
  if (reply.view) {
    // The labels say what the profile says; with nobody selected they are
    // empty.
    const UserView& shown = *reply.view;
    const bool nobody = shown.user.empty();
    view_.SetUserLabel(shown.user);
    if (shown.encrypted) {
      view_.SetEncryptionLabel(nobody ? "" : texts::EncryptionShown(*shown.encrypted));
    }
    if (shown.version) {
      view_.SetVersionLabel(nobody ? "" : Cp949ToUtf8Text(ShownVersion(*shown.version)));
    }
    // The password box is for encrypted data only.
    if (shown.encrypted) view_.SetPasswordEnabled(*shown.encrypted);
  }
  ShowReply(installation_.platform(), boxes_, reply);
  // A wrong password is selected for typing again.
  if (reply.reason() == Say::kWrongPassword) view_.SelectPasswordAndFocus();
}

void WindowFlow::Arm(Next next) {
  if (next == Next::kBackup) view_.SetBackupTimer(true);
  if (next == Next::kStage) view_.SetDriverTimer(true);
}

}  // namespace dayledger
