// Measures the terminal program from outside on users of one shape (1.00,
// encrypted, every month filled) at three sizes up to about 90 MB: the
// upgrade with its backup against a durable copy of the same user folder
// (every file copied and flushed, every folder flushed: what keeping a safe
// backup costs at least), in the same run, and the peak memory of `upgrade`
// and `check` beyond what `list` needs, against the user's data. Prints
// medians of five runs; it fails only when a run does not finish.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/installation_builder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kPassword[] = "benchmark";
// Runs a size, of which the medians are printed: the disk's timings move
// from run to run (on ext4 without a journal, a new file's inode is looked
// for past every inode deleted in the last minute or more).
constexpr int kRuns = 5;

struct ProcessRun {
  bool ok = false;
  double seconds = 0;
  long peak_kb = 0;  // the child's largest resident set
};

// Runs the terminal program with the password on its standard input.
ProcessRun RunProgram(const std::vector<std::string>& arguments) {
  int input[2];
  if (::pipe(input) != 0) return {};
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(input[0], 0);
    ::close(input[1]);
    const int quiet = ::open("/dev/null", O_WRONLY);
    ::dup2(quiet, 1);
    ::dup2(quiet, 2);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(input[0]);
  const std::string line = std::string(kPassword) + "\n";
  if (::write(input[1], line.data(), line.size()) < 0) std::perror("password");
  ::close(input[1]);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  ProcessRun run;
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.peak_kb = usage.ru_maxrss;
  return run;
}

bool SyncPath(const fs::path& path, int flags) {
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

// Copies the folder file by file, flushing every file and every folder.
double DurableCopy(const fs::path& from, const fs::path& to) {
  const auto start = Clock::now();
  fs::copy(from, to, fs::copy_options::recursive);
  for (const auto& entry : fs::recursive_directory_iterator(to)) {
    SyncPath(entry.path(), entry.is_directory() ? O_RDONLY | O_DIRECTORY : O_RDONLY);
  }
  SyncPath(to, O_RDONLY | O_DIRECTORY);
  SyncPath(to.parent_path(), O_RDONLY | O_DIRECTORY);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double FolderMegabytes(const fs::path& folder) {
  uintmax_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) bytes += entry.file_size();
  }
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Row {
  double megabytes = 0;
  double upgrade_seconds = 0;
  double copy_seconds = 0;
  double upgrade_memory = 0;  // extra peak over `list`, against the data
  double check_memory = 0;
};

bool Measure(const std::string& program, const fs::path& root, int entries, Row* row) {
  std::vector<double> upgrade, copy, upgrade_memory, check_memory;
  for (int run = 0; run < kRuns; ++run) {
    fs::remove_all(root);
    dayledger::demo::InstallationBuilder builder((root / "app").string());
    builder.WriteTemplates();
    builder.WriteUser({"bench", "10000", kPassword, entries, 4, 4});
    builder.WriteUserList({"bench"});
    const fs::path user = builder.UserDir("bench");
    row->megabytes = FolderMegabytes(user);
    const std::string app = (root / "app").string();
    const ProcessRun list = RunProgram({program, "--app-dir", app, "list"});
    const ProcessRun check =
        RunProgram({program, "--app-dir", app, "check", "bench", "--password-stdin"});
    copy.push_back(DurableCopy(user, root / "copy"));
    const ProcessRun done =
        RunProgram({program, "--app-dir", app, "upgrade", "bench", "--password-stdin"});
    if (!list.ok || !check.ok || !done.ok) return false;
    upgrade.push_back(done.seconds);
    const double data_kb = row->megabytes * 1024.0;
    upgrade_memory.push_back(static_cast<double>(done.peak_kb - list.peak_kb) / data_kb);
    check_memory.push_back(static_cast<double>(check.peak_kb - list.peak_kb) / data_kb);
  }
  row->upgrade_seconds = Median(upgrade);
  row->copy_seconds = Median(copy);
  row->upgrade_memory = Median(upgrade_memory);
  row->check_memory = Median(check_memory);
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::string program = argc > 1 ? argv[1] : DAYLEDGER_UPGRADE_BIN;
  std::string pattern = (fs::temp_directory_path() / "dayledger-bench-XXXXXX").string();
  const fs::path root = ::mkdtemp(pattern.data());
  std::printf(
      "user data | upgrade with backup | per MB | / durable copy | extra peak memory / "
      "data: upgrade, check\n");
  bool all_done = true;
  // Entries a month for about 8, 29 and 89 MB of data.
  for (const int entries : {410, 1480, 4480}) {
    Row row;
    if (!Measure(program, root / "run", entries, &row)) {
      std::printf("%d entries a month: a run did not finish\n", entries);
      all_done = false;
      continue;
    }
    std::printf("%6.1f MB | %6.2f s | %5.0f ms | %5.2fx | %4.2fx, %4.2fx\n", row.megabytes,
                row.upgrade_seconds, row.upgrade_seconds * 1000 / row.megabytes,
                row.upgrade_seconds / row.copy_seconds, row.upgrade_memory, row.check_memory);
    std::fflush(stdout);
  }
  fs::remove_all(root);
  return all_done ? 0 : 1;
}
