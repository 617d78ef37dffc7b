// A file system in memory that knows what has reached the disk, in the
// manner of a fault-injection environment: it numbers every file-changing
// operation and can simulate a crash before operation N (whatever was not
// flushed is lost: file contents since their last flush, and creations,
// renames and deletions not followed by a flush of their folder, folders
// included), make operation N fail, or fill the disk from operation N on.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/recorded_boxes.h"

namespace dayledger::testing {

// Thrown by every file-changing operation from the crash on: the program
// stops there, as the machine did.
struct SimulatedCrash : std::runtime_error {
  SimulatedCrash() : std::runtime_error("simulated crash") {}
};

// Its message boxes are recorded with it.
class FaultPlatform : public Platform, public RecordedBoxes {
 public:
  FaultPlatform();

  // Copies a native folder tree into memory under `tool_root`,
  // all of it on the disk already.
  void Load(const std::string& native_root, const Path& tool_root);
  // The tree under `folder`: relative path -> content; folders end in "\".
  std::map<std::string, std::string> Snapshot(const Path& folder);
  // What the disk holds after a power cut now; numbering starts again. A
  // file written since its last flush holds its last flushed bytes. A
  // rename from one folder into another is kept or lost whole, as a file
  // system that journals its names keeps it: a flush of any folder keeps
  // every such move before it with both its entries, so that no folder
  // ever has two names, or none. With `torn_writes` the names and folders
  // stand as the program last saw them (a file system that keeps its
  // metadata in order) and such a file holds the first half of its newest
  // bytes (a write the power cut interrupted).
  void Crash();
  bool torn_writes = false;
  // What the disk holds after the program was killed at the crash: every
  // name and byte as the program left them; numbering starts again. Both
  // end a planted failure and a full disk with the run.
  void Kill();

  int operations = 0;  // file-changing operations so far
  // One letter per operation so far: W write, S flush, R rename, D delete,
  // X remove folder, F flush folder, P permissions, M make folder, L lock.
  std::string kinds;
  int crash_before = 0;  // crash before this operation (0: never)
  int fail_at = 0;       // this operation fails (0: never)
  // From this operation on the disk is full (0: never): every write and
  // every new folder fails as a full disk answers (kNoSpace, ENOSPC), and
  // nothing of it is written.
  int full_from = 0;
  // Normal texts of paths: every rename onto this one fails, and every
  // deletion or removal of this one (held open); files another program holds.
  std::string failing_rename_to;
  std::string failing_delete_of;
  std::set<std::string> held_open;
  // Files a scanner or a synchronising client holds sharing nothing, as
  // Windows answers it: reading, renaming and deleting them fail (EBUSY),
  // and so does renaming a folder that holds one.
  std::set<std::string> unreadable;
  int pauses = 0;
  int release_after = 0;
  Path executable_path;
  // Renames and deletions below `guarded_folder` while nobody holds the lock
  // file `guarded_by`: each one a change made without the user's lock.
  std::string guarded_folder;
  std::string guarded_by;
  std::vector<std::string> unlocked_changes;

  Status TestOpen(const Path& path) override;
  Status ReadFile(const Path& path, std::string* bytes) override;
  Status WriteFile(const Path& path, const std::string& bytes) override;
  Status SyncFile(const Path& path) override;
  Status RenameFile(const Path& from, const Path& to) override;
  Status DeleteFile(const Path& path) override;
  Status RemoveFolder(const Path& path) override;
  Status SyncFolder(const Path& path) override;
  Status CopyPermissions(const Path& from, const Path& to) override;
  Status CreateDirectory(const Path& path) override;
  Result<PathKind> Inspect(const Path& path) override;
  Result<std::vector<FolderEntry>> ListFolder(const Path& folder) override;
  Status CanReplace(const Path& path) override;
  // Every folder of the tree in memory may be written, on a disk that never
  // says how full it is, while no other program runs.
  Status CanWriteIn(const Path& /*folder*/) override { return Status::Ok(); }
  Result<DiskSpace> SpaceOn(const Path& folder) override {
    return Status::Failed(StatusKind::kReadFailed, folder);
  }
  std::vector<std::string> ProgramsRunningIn(const Path& /*folder*/) override { return {}; }
  // The lock itself lives in memory (it changes no file of the tree), but
  // its file's folder must exist. A copy of the platform, a machine after a
  // crash, starts with no lock held.
  Result<Lock> LockFile(const Path& path) override;
  // Takes no time; counts, and lets go of what is held once `release_after`
  // pauses have passed (0: never).
  void Pause(int milliseconds) override;
  Path ExecutablePath() override { return executable_path; }
  LocalTime Now() override { return {2026, 12, 7, 14, 5, 9}; }

 private:
  struct Node {
    bool folder = false;
    int id = 0;  // a file's content or a folder's entries
  };
  using Entries = std::map<std::string, Node>;

  // Counts one file-changing operation; true if it is to fail.
  bool Operation(char kind);
  // Whether the disk is full at this operation.
  bool Full() const;
  // Notes a change below the guarded folder made without its lock.
  void Guard(const Path& path);
  std::optional<Node> Find(const Path& path);
  // The folder that would hold `path`, and the name in it.
  std::optional<std::pair<int, std::string>> Place(const Path& path);
  int NewFolder();
  void SnapshotInto(int folder, const std::string& prefix, std::map<std::string, std::string>* out);

  std::map<int, Entries> folders_;          // as the running program sees them
  std::map<int, Entries> durable_folders_;  // as a crash would leave them
  std::map<int, std::string> contents_;
  std::map<int, std::string> durable_contents_;
  // Renames from one folder into another since the last flush of any folder.
  struct Move {
    int from;
    std::string from_name;
    int to;
    std::string to_name;
    Node node;
  };
  std::vector<Move> moves_;
  int next_id_ = 1;
  bool crashed_ = false;

  struct HeldLocks {
    std::shared_ptr<std::set<std::string>> paths = std::make_shared<std::set<std::string>>();
    HeldLocks() = default;
    HeldLocks(const HeldLocks&) {}
    HeldLocks& operator=(const HeldLocks&) {
      paths = std::make_shared<std::set<std::string>>();
      return *this;
    }
  };
  HeldLocks held_;
};

}  // namespace dayledger::testing
