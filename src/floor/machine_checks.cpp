// The start checks that look at the PC rather than at the user's data.
#include "floor/machine_checks.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/path.h"
#include "platform/patience.h"
#include "state/file_names.h"

namespace dayledger {
namespace {

// This tool's own programs live in the installation's folder too.
bool IsOwnProgram(const std::string& file_name) {
  std::string name = AsciiLower(file_name);
  if (name.ends_with(".exe")) name.resize(name.size() - 4);
  return name == "dayledger-upgrade" || name == "dayledger-upgrade-gui";
}

// The scheduler's data files: what the run replaces or deletes.
bool IsDataFile(const std::string& name) {
  const std::string lower = AsciiLower(name);
  return lower.ends_with(".qbd") || lower.ends_with(".qbsd");
}

// A refusal about one place, shown with the error icon.
Reply RefusedAt(Say say, const Path& place) {
  return Reply::Refused({say, NoticeKind::kError, place}, place);
}

// A refusal about several files or programs, as shown.
Reply RefusedFor(Say say, std::vector<std::string> items) {
  Said said{say, NoticeKind::kError};
  said.items = std::move(items);
  return Reply::Refused(std::move(said));
}

struct Unchangeable {
  std::vector<std::string> read_only;
  Reply refusal;  // done while nothing refuses
};

void LookAt(Platform& platform, const Path& folder, Unchangeable* found) {
  if (!platform.CanWriteIn(folder).ok()) {
    found->refusal = RefusedAt(Say::kFolderNotWritable, folder);
    return;
  }
  // A folder that cannot be listed is reported by the backup and the stages.
  for (const FolderEntry& entry : platform.ListFolder(folder).value_or({})) {
    if (entry.hidden) continue;
    const Path path = folder / entry.name;
    if (entry.folder) {
      LookAt(platform, path, found);
      if (found->refusal.outcome != Outcome::kDone) return;
      continue;
    }
    const Status replaceable = ReplaceableSoon(platform, path);
    switch (replaceable.kind) {
      case StatusKind::kHeld:
        found->refusal = RefusedAt(Say::kFileInUse, path);
        return;
      case StatusKind::kReadOnly:
        if (IsDataFile(entry.name)) found->read_only.push_back(platform.Shown(path));
        break;
      case StatusKind::kDenied:
        found->refusal = RefusedAt(Say::kFileNotDeletable, path);
        return;
      default:
        break;
    }
  }
}

std::uint64_t RoundUp(std::uint64_t bytes, std::uint64_t cluster) {
  if (cluster == 0) return bytes;
  return (bytes + cluster - 1) / cluster * cluster;
}

// Each file's length by its path below the folder, and how many folders.
struct Tree {
  std::map<std::string, std::uint64_t> files;
  std::uint64_t folders = 0;
};

// A folder that cannot be listed counts for nothing here: this is an
// estimate before the start, and the backup and the stages report it.
void Measure(Platform& platform, const Path& folder, const std::string& relative, Tree* tree) {
  for (const FolderEntry& entry : platform.ListFolder(folder).value_or({})) {
    if (entry.hidden || IsWorkFile(entry.name)) continue;
    const std::string below = relative + "\\" + entry.name;
    if (entry.folder) {
      ++tree->folders;
      Measure(platform, folder / entry.name, below, tree);
    } else {
      tree->files[below] = entry.size;
    }
  }
}

// What the commit writes beside the old files before it deletes any: the
// merged schedule file where the months are merged (no longer than the
// months it is made from), each other data file again, the templates a step
// copies in, and the journal that names them all.
std::uint64_t StagedBytes(Platform& platform, const Path& app_dir, const Tree& data,
                          std::uint64_t cluster, bool merges_months) {
  std::uint64_t months = 0;
  std::uint64_t bytes = 0;
  for (const auto& [path, size] : data.files) {
    if (merges_months && path.starts_with("\\schedules\\")) {
      months += size;
    } else {
      bytes += RoundUp(size, cluster);
    }
  }
  bytes += RoundUp(months, cluster);
  Tree templates;
  Measure(platform, TemplatesFolder(app_dir), "", &templates);
  for (const auto& [path, size] : templates.files) bytes += RoundUp(size, cluster);
  constexpr std::uint64_t kJournalBytesPerFile = 128;
  return bytes +
         RoundUp(kJournalBytesPerFile * (data.files.size() + templates.files.size() + 1), cluster);
}

// What the backup of `data` adds: a whole copy, made beside an earlier
// backup before that one goes.
std::uint64_t BackupBytes(const Tree& data, std::uint64_t cluster) {
  std::uint64_t bytes = cluster * (data.folders + 1);
  for (const auto& [path, size] : data.files) bytes += RoundUp(size, cluster);
  return bytes;
}

struct Need {
  Path where;  // the folder shown in the message
  DiskSpace disk;
  std::uint64_t bytes = 0;
};

}  // namespace

Reply RefuseOtherAccount(Installation& installation) {
  const auto other = installation.platform().RunningAsOtherAccount(installation.folder());
  if (!other) return Reply();
  if (other->elevated) return RefusedFor(Say::kRunAsOtherAccount, {other->running, other->owner});
  return RefusedFor(Say::kInstallationOfOtherAccount, {other->owner, other->running});
}

Reply RefuseRunningPrograms(Installation& installation) {
  std::vector<std::string> names;
  for (const std::string& program :
       installation.platform().ProgramsRunningIn(installation.folder())) {
    const std::string name = program.substr(program.find_last_of("\\/") + 1);
    if (IsOwnProgram(name) || std::find(names.begin(), names.end(), name) != names.end()) continue;
    names.push_back(name);
  }
  if (names.empty()) return Reply();
  return RefusedFor(Say::kProgramRunning, names);
}

Reply RefuseLinks(Installation& installation, const std::string& user) {
  Platform& platform = installation.platform();
  for (const Path& path :
       {UsersFolder(installation.app_dir()), installation.UserFolder(user),
        installation.BackupRoot(), installation.BackupOf(user), installation.ToolFolder(),
        installation.LockOf(user).Parent(), installation.LockOf(user)}) {
    const Path normal = path.Normal();
    // One that cannot be looked at is left to the step that uses it, which says why.
    const Result<PathKind> kind = platform.Inspect(normal);
    if (kind.ok() && *kind == PathKind::kLink) {
      return RefusedAt(Say::kLinkOnTheWay, normal);
    }
  }
  return Reply();
}

Reply RefuseUnchangeable(Platform& platform, const Path& user_folder) {
  Unchangeable found;
  LookAt(platform, user_folder.Normal(), &found);
  if (found.refusal.outcome != Outcome::kDone || found.read_only.empty()) return found.refusal;
  return RefusedFor(Say::kReadOnlyFiles, found.read_only);
}

Reply RefuseShortDisk(Installation& installation, const std::string& user, bool with_backup,
                      bool merges_months) {
  Platform& platform = installation.platform();
  const Path user_folder = installation.UserFolder(user).Normal();
  Path backup_place = installation.BackupRoot();
  // Not made yet, or not to be looked at: it is made in the installation's
  // folder, on that folder's disk.
  const Result<PathKind> backups = platform.Inspect(backup_place);
  if (!backups.ok() || *backups != PathKind::kFolder) backup_place = installation.folder();
  // A drive that cannot be asked is left to the commit's own checks.
  const Result<DiskSpace> user_disk = platform.SpaceOn(user_folder);
  const Result<DiskSpace> backup_disk = platform.SpaceOn(backup_place);
  Tree data;
  Measure(platform, user_folder, "", &data);

  std::vector<Need> needs;
  if (user_disk.ok()) {
    needs.push_back(
        {user_folder, *user_disk,
         StagedBytes(platform, installation.app_dir(), data, user_disk->cluster, merges_months)});
  }
  if (with_backup && backup_disk.ok()) {
    const std::uint64_t bytes = BackupBytes(data, backup_disk->cluster);
    if (!needs.empty() && needs.front().disk.volume == backup_disk->volume) {
      needs.front().bytes += bytes;
      needs.front().where = installation.folder();
    } else {
      needs.push_back({backup_place, *backup_disk, bytes});
    }
  }
  for (const Need& need : needs) {
    if (need.bytes <= need.disk.available) continue;
    Said said{Say::kDiskTooFull, NoticeKind::kError, need.where};
    said.needed = need.bytes;
    said.available = need.disk.available;
    return Reply::Refused(std::move(said), need.where);
  }
  return Reply();
}

}  // namespace dayledger
