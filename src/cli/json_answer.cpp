// Reasons and failures by their stable names, and the document around them.
#include "cli/json_answer.h"

#include <utility>

#include "floor/tool_version.h"
#include "platform/cp949_codec.h"
#include "state/version_code.h"

namespace dayledger::cli {
namespace {

constexpr std::pair<Say, const char*> kReasons[] = {
    {Say::kUserListMissing, "user_list_missing"},
    {Say::kProfileDamaged, "profile_damaged"},
    {Say::kSelectUser, "not_listed"},
    {Say::kAlreadyLatest, "already_latest"},
    {Say::kUnsupportedVersion, "unsupported_version"},
    {Say::kWrongPassword, "wrong_password"},
    {Say::kUserBusy, "user_busy"},
    {Say::kLockUnavailable, "lock_unavailable"},
    {Say::kFolderNotWritable, "folder_not_writable"},
    {Say::kProgramRunning, "scheduler_running"},
    {Say::kLinkOnTheWay, "link_on_the_way"},
    {Say::kReadOnlyFiles, "read_only"},
    {Say::kFileNotDeletable, "file_not_deletable"},
    {Say::kFileInUse, "file_in_use"},
    {Say::kUnsafeUserName, "unsafe_user_name"},
    {Say::kRunAsOtherAccount, "other_account"},
    {Say::kInstallationOfOtherAccount, "other_account"},
    {Say::kDiskTooFull, "no_room"},
    {Say::kStoppedByError, "error"},
    {Say::kBackupFailed, "backup_failed"},
    {Say::kNoBackupToRestore, "no_backup"},
    {Say::kNoBackupToCompare, "no_backup"},
    {Say::kBackupProfileUnreadable, "backup_unreadable"},
    {Say::kBackupNotOlder, "backup_not_older"},
    {Say::kNotUpgraded, "not_upgraded"},
};

constexpr std::pair<StatusKind, const char*> kKinds[] = {
    {StatusKind::kNotFound, "not_found"},
    {StatusKind::kReadFailed, "read_failed"},
    {StatusKind::kCannotCreate, "cannot_create"},
    {StatusKind::kWriteFailed, "write_failed"},
    {StatusKind::kFlushFailed, "flush_failed"},
    {StatusKind::kRenameFailed, "rename_failed"},
    {StatusKind::kDeleteFailed, "delete_failed"},
    {StatusKind::kNoSpace, "no_space"},
    {StatusKind::kBusy, "busy"},
    {StatusKind::kHeld, "held"},
    {StatusKind::kReadOnly, "read_only"},
    {StatusKind::kDenied, "denied"},
    {StatusKind::kDamaged, "damaged"},
    {StatusKind::kOutOfRange, "out_of_range"},
    {StatusKind::kWrongPassword, "wrong_password"},
    {StatusKind::kFolderUnreadable, "folder_unreadable"},
    {StatusKind::kIndexOutOfBounds, "index_out_of_bounds"},
    {StatusKind::kNotAnInteger, "not_an_integer"},
    {StatusKind::kLinkRefused, "link_refused"},
    {StatusKind::kChangeSavedUnfinished, "change_saved_unfinished"},
    {StatusKind::kRecoveryHeld, "recovery_held"},
    {StatusKind::kChangeLost, "change_lost"},
    {StatusKind::kNewerFormat, "newer_format"},
    {StatusKind::kOther, "other"},
};

// The name a table gives `key`, or `otherwise`.
template <typename Key, size_t N>
const char* NameIn(const std::pair<Key, const char*> (&table)[N], Key key, const char* otherwise) {
  for (const auto& [known, name] : table) {
    if (known == key) return name;
  }
  return otherwise;
}

// A version code as "1.02", or null.
nlohmann::ordered_json Version(const std::optional<std::string>& code) {
  if (!code || code->empty()) return nullptr;
  return Cp949ToUtf8Text(ShortVersion(*code));
}

nlohmann::ordered_json PathOrNull(Platform& platform, const Path& path) {
  if (path.empty()) return nullptr;
  return platform.Shown(path);
}

nlohmann::ordered_json ErrorJson(Platform& platform, const Status& error) {
  if (error.ok()) return nullptr;
  const char* kind = NameIn(kKinds, error.kind, "other");
  nlohmann::ordered_json reason = nullptr;
  if (error.code != 0) reason = platform.Reason(error.code, error.path).text;
  return {{"kind", kind},
          {"path", PathOrNull(platform, error.path)},
          {"code", error.code},
          {"system_reason", reason}};
}

}  // namespace

std::string ReasonName(const Reply& reply) {
  if (reply.outcome == Outcome::kRefused && reply.said.empty()) return "declined";
  return NameIn(kReasons, reply.reason(), "refused");
}

nlohmann::ordered_json UserJson(Platform& platform, const UserAnswer& answer) {
  const int status = answer.exit_status;
  const char* outcome = status == kExitDone      ? "done"
                        : status == kExitStopped ? "stopped"
                                                 : "refused";
  nlohmann::ordered_json reason = nullptr;
  if (!answer.reason.empty()) {
    reason = answer.reason;
  } else if (status != kExitDone) {
    reason = ReasonName(answer.reply);
  }
  nlohmann::ordered_json user = {
      {"name", answer.name},
      {"encrypted", answer.encrypted ? nlohmann::ordered_json(*answer.encrypted) : nullptr},
      {"version_before", Version(answer.version_before)},
      {"version_after", Version(answer.version_after)},
      {"outcome", outcome},
      {"reason", reason},
      {"message", answer.message},
      {"error", ErrorJson(platform, answer.reply.error)},
      {"record", PathOrNull(platform, answer.reply.record)},
  };
  if (!answer.details.is_null()) user.update(answer.details);
  return user;
}

std::string Document(const std::string& command, const std::string& installation, int exit_status,
                     const nlohmann::ordered_json& users) {
  const nlohmann::ordered_json document = {
      {"format", 1},        {"tool", "dayledger-upgrade"},  {"version", kToolVersion},
      {"command", command}, {"installation", installation}, {"exit_status", exit_status},
      {"users", users},
  };
  // Bytes that are not UTF-8 (a name given on a POSIX command line) are
  // replaced, never a reason to lose the document.
  return document.dump(2, ' ', true, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace dayledger::cli
