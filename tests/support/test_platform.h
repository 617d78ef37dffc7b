// The real file system under a temporary folder, with a clock the test sets,
// message boxes that are recorded and answered, and faults on request.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/system_platform.h"
#include "support/recorded_boxes.h"

namespace dayledger::testing {

class TestPlatform : public SystemPlatform, public RecordedBoxes {
 public:
  TestPlatform();
  ~TestPlatform() override;

  // A fresh folder for this test, removed with the platform (native path).
  const std::string& temp_dir() const { return temp_dir_; }

  LocalTime Now() override { return now; }
  Path ExecutablePath() override { return executable_path; }
  Status WriteFile(const Path& path, const std::string& bytes) override;
  Status TestOpen(const Path& path) override;
  Status ReadFile(const Path& path, std::string* bytes) override;
  Result<PathKind> Inspect(const Path& path) override;
  Status RenameFile(const Path& from, const Path& to) override;
  Status SyncFile(const Path& path) override;
  Status DeleteFile(const Path& path) override;
  Result<std::vector<FolderEntry>> ListFolder(const Path& folder) override;
  Status CanWriteIn(const Path& folder) override;
  Status CanReplace(const Path& path) override;
  Result<DiskSpace> SpaceOn(const Path& folder) override;
  bool OnNetworkDrive(const Path& folder) override {
    return network_drive || SystemPlatform::OnNetworkDrive(folder);
  }
  std::optional<OtherAccount> RunningAsOtherAccount(const Path& folder) override {
    ++account_looks;
    return other_account ? other_account : SystemPlatform::RunningAsOtherAccount(folder);
  }
  std::vector<std::string> ProgramsRunningIn(const Path& folder) override {
    return running_programs.empty() ? SystemPlatform::ProgramsRunningIn(folder) : running_programs;
  }

  // Runs once, just before the next lock is taken: another program's
  // change at that very moment.
  Result<Lock> LockFile(const Path& path) override {
    if (before_lock) std::exchange(before_lock, nullptr)();
    return SystemPlatform::LockFile(path);
  }
  std::function<void()> before_lock;

  LocalTime now{2026, 12, 7, 14, 5, 9};
  Path executable_path;
  // Native paths of successful writes and rename targets, in order.
  std::vector<std::string> written;

  // Faults: the native path of the file to fail, and how; or of a folder
  // in which every write fails. The system's code is an I/O error's (EIO),
  // or a full disk's (ENOSPC).
  std::string fail_write_path;
  std::string fail_writes_in_folder;
  StatusKind fail_write_error = StatusKind::kWriteFailed;
  std::string fail_read_path;
  std::string unlookable_path;       // looking at it fails (EIO): a bad sector, a dying drive
  bool fail_folder_listing = false;  // the backup copy then fails
  std::string unwritable_folder;     // one the user may not write (Program Files)
  std::string undeletable_file;      // one its permissions keep from being deleted
  std::optional<std::uint64_t> free_bytes;    // the room every drive has left
  bool network_drive = false;                 // the installation lies on another PC
  std::optional<OtherAccount> other_account;  // the tool runs as another account
  int account_looks = 0;                      // how often the account was asked about
  std::vector<std::string> running_programs;  // programs running from the installation
  int denied_syncs = 0;          // the next flushes of files, refused for a moment (EBUSY)
  std::string denied_sync_path;  // ... of this file only, where one is named

 private:
  std::string temp_dir_;
};

}  // namespace dayledger::testing
