// UpgradeTool's backup: a copy of the user's folder before the stages start,
// made beside the earlier backup and put in its place only when whole.
#include "floor/copy_tree.h"
#include "floor/words.h"
#include "upgrade/upgrade_tool.h"

namespace dayledger {

Reply UpgradeTool::Backup(bool skip_backup) {
  return Recorded(Guarded([&]() -> Reply {
    // A new run starts from the disk as it is, never from an earlier run's changes.
    staged_.reset();
    // The operator's choice as it stands now, not at the click.
    if (skip_backup) {
      AddLog(Say::kLogBackupSkipped);
    } else {
      const FolderSwap swap = installation_.BackupSwapOf(state_.UserName);
      // What an interrupted backup left is settled first; then the copy is
      // made whole beside the earlier backup, which it replaces whole. An
      // earlier copy that cannot be removed yet waits, named in the log.
      std::vector<Path> left;
      Status copied = SettleSwap(platform_, swap, &left);
      if (copied.ok()) copied = installation_.MakePlace(ToolPlace::kNew);
      if (copied.ok()) copied = CopyTreeAs(platform_, state_.UserDir(), swap.made);
      if (copied.ok()) copied = ReplaceFolder(platform_, swap, &left);
      for (const Path& path : left) AddLog(Said(Say::kLogLeftover, NoticeKind::kInformation, path));
      if (!copied.ok()) {
        // A new copy whose move the record still guards stays for the next
        // settling; any other is a half copy.
        const Status removed = SwapPending(platform_, swap)
                                   ? Status::Failed(StatusKind::kRecoveryHeld, swap.made)
                                   : RemoveTree(platform_, swap.made);
        Said said{Say::kBackupFailed, NoticeKind::kError};
        said.swap = installation_.BackupSwapOf(state_.UserName);
        said.error = copied;
        said.removed = removed;
        Reply failed = Reply::Ended(Outcome::kStopped, std::move(said), copied.path);
        failed.error = copied;
        return failed;
      }
      AddLog(Say::kLogBackupDone);
    }
    state_.UpgradeState = Stage::kReadProfile;
    Reply reply;
    reply.next = Next::kStage;
    return reply;
  }));
}

}  // namespace dayledger
