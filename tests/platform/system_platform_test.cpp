// CP949 names, native paths, and the real platform on a temporary folder:
// writes, listings, copies and folders.
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <new>
#include <vector>

#include "demo/installation_builder.h"
#include "floor/copy_tree.h"
#include "platform/cp949_codec.h"
#include "platform/native_path.h"
#include "state/file_names.h"
#include "state/line_file.h"
#include "support/holds_value.h"
#include "support/test_platform.h"

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using demo::InstallationBuilder;
using testing::TestPlatform;

const std::string kHongUtf8 = "홍길동";
const std::string kHongCp949 = "\xC8\xAB\xB1\xE6\xB5\xBF";

TEST(Cp949Test, KoreanNamesRoundTrip) {
  EXPECT_EQ(Utf8ToCp949Text(kHongUtf8), kHongCp949);
  EXPECT_EQ(Cp949ToUtf8Text(kHongCp949), kHongUtf8);
  EXPECT_EQ(Cp949ToUtf8Text("plain ascii"), "plain ascii");
  EXPECT_EQ(Utf8ToCp949Text("a\xE2\x98\x83"
                            "b"),
            "a?b");  // a snowman has no CP949 code
  EXPECT_EQ(Cp949ToUtf8Text("a\xFF"
                            "b"),
            "a\xEF\xBF\xBD"
            "b");
}

// A path keeps its spelling as shown, and is one place however spelt.
TEST(PathTest, OnePlaceWhateverItsSpelling) {
  const struct {
    std::string spelt;
    std::string normal;
    std::string parent;
    std::string name;
    std::string native;
  } cases[] = {
      {"\\tmp\\app\\\\users\\userlist.kvd", "\\tmp\\app\\users\\userlist.kvd", "\\tmp\\app\\users",
       "userlist.kvd", "/tmp/app/users/userlist.kvd"},
      {"\\tmp\\app\\users\\u\\", "\\tmp\\app\\users\\u", "\\tmp\\app\\users", "u",
       "/tmp/app/users/u/"},
      {"\\a//b\\\\\\c", "\\a\\b\\c", "\\a\\b", "c", "/a/b/c"},
      {"C:\\app\\\\users\\홍길동", "C:\\app\\users\\홍길동", "C:\\app\\users", "홍길동",
       "C:/app/users/홍길동"},
      {"\\\\server\\share\\\\app", "\\\\server\\share\\app", "\\\\server\\share", "app",
       "/server/share/app"},
  };
  for (const auto& c : cases) {
    const Path path(c.spelt);
    EXPECT_EQ(path.text(), c.spelt);
    EXPECT_EQ(path.Normal().text(), c.normal) << c.spelt;
    EXPECT_EQ(path.Parent().text(), c.parent) << c.spelt;
    EXPECT_EQ(path.Name(), c.name) << c.spelt;
    EXPECT_EQ(NativePathFromTool(path), c.native) << c.spelt;
    EXPECT_EQ(path, Path(c.normal));
    EXPECT_TRUE(path.Parent().Holds(path) && path.Holds(path) && !path.Holds(path.Parent()));
    EXPECT_EQ(path.Parent().RelativeOf(path), c.name);
  }
  // Joined below a folder whose text ends in a backslash, as the
  // scheduler's own messages spell it.
  EXPECT_EQ((Path("C:\\app\\") / "users" / "u").text(), "C:\\app\\\\users\\u");
  EXPECT_FALSE(Path("C:\\app").Holds(Path("C:\\apple\\x")));
  EXPECT_EQ(ToolPathFromNative("/opt/app/dayledger").text(), "\\opt\\app\\dayledger");
}

class SystemPlatformTest : public ::testing::Test {
 protected:
  Path Tool(const std::string& native) { return ToolPathFromNative(native); }
  TestPlatform platform;
  const std::string dir = platform.temp_dir();
};

// Two processes take and release one user's lock as fast as they can: never
// do both hold it at once, and released, it leaves no file behind.
TEST_F(SystemPlatformTest, LockIsHeldByOneProcessAtATimeAndLeavesNoFile) {
  const Path lock_path = Tool(dir) / "u.lock";
  // Shared with the children: how many hold the lock now, how often two
  // held it at once, and how many are ready to start.
  auto* shared = static_cast<std::atomic<int>*>(::mmap(nullptr, 3 * sizeof(std::atomic<int>),
                                                       PROT_READ | PROT_WRITE,
                                                       MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(shared, MAP_FAILED);
  std::atomic<int>* holders = new (shared) std::atomic<int>(0);
  std::atomic<int>* overlaps = new (shared + 1) std::atomic<int>(0);
  std::atomic<int>* ready = new (shared + 2) std::atomic<int>(0);
  std::vector<pid_t> children;
  for (int child = 0; child < 2; ++child) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      SystemPlatform own;
      ready->fetch_add(1);
      while (ready->load() < 2) ::sched_yield();  // both start together
      for (int taken = 0, tries = 0; taken < 5000 && tries < 10000000; ++tries) {
        const Result<Lock> lock = own.LockFile(lock_path);
        if (!lock.ok()) continue;
        if (holders->fetch_add(1) != 0) overlaps->fetch_add(1);
        ::sched_yield();
        holders->fetch_sub(1);
        ++taken;
      }
      ::_exit(0);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(overlaps->load(), 0) << "both processes held the lock at once";
  EXPECT_FALSE(fs::exists(dir + "/u.lock")) << "a released lock leaves its file";
  ::munmap(shared, 3 * sizeof(std::atomic<int>));
}

TEST_F(SystemPlatformTest, KoreanFolderNameIsFoundThroughItsPath) {
  InstallationBuilder::WriteNative(dir + "/users/" + kHongUtf8 + "/profile.qbd", "x\r\n");
  const Path tool_path = UserFolder(Tool(dir).WithSuffix("\\"), kHongCp949) / "profile.qbd";
  std::string bytes;
  ASSERT_TRUE(platform.ReadFile(tool_path, &bytes).ok());
  EXPECT_EQ(bytes, "x\r\n");
  EXPECT_TRUE(platform.TestOpen(tool_path).ok());

  ASSERT_TRUE(platform.WriteFile(Tool(dir) / (kHongUtf8 + ".qbd"), "y").ok());
  EXPECT_TRUE(fs::exists(dir + "/" + kHongUtf8 + ".qbd"));
  EXPECT_EQ(ListQbdFiles(platform, Tool(dir)), std::vector<std::string>{kHongUtf8 + ".qbd"});
}

TEST_F(SystemPlatformTest, WriteReplacesWholeAndLeavesNoOtherFile) {
  const Path path = Tool(dir) / "f.qbd";
  ASSERT_TRUE(platform.WriteFile(path, "old content").ok());
  ASSERT_TRUE(platform.WriteFile(path, "new").ok());
  EXPECT_EQ(InstallationBuilder::ReadNative(dir + "/f.qbd"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  EXPECT_EQ(platform.WriteFile(Tool(dir).WithSuffix("\\missing\\f.qbd"), "x").kind,
            StatusKind::kCannotCreate);
  EXPECT_EQ(platform.ReadFile(Tool(dir).WithSuffix("\\missing\\f.qbd"), nullptr).kind,
            StatusKind::kNotFound);
}

// Nothing there, and a system that could not look, are different answers.
TEST_F(SystemPlatformTest, NothingThereIsNotCouldNotLook) {
  const Path missing = Tool(dir) / "missing";
  const Path too_long = Tool(dir) / std::string(300, 'x');  // ENAMETOOLONG
  EXPECT_TRUE(testing::HoldsValue(platform.Inspect(missing), PathKind::kMissing));
  EXPECT_EQ(platform.Inspect(too_long).kind(), StatusKind::kReadFailed);
  EXPECT_EQ(platform.ListFolder(missing).kind(), StatusKind::kNotFound);
  EXPECT_EQ(platform.ListFolder(too_long).kind(), StatusKind::kFolderUnreadable);
  EXPECT_EQ(platform.TestOpen(missing).kind, StatusKind::kNotFound);
  EXPECT_EQ(platform.TestOpen(too_long).kind, StatusKind::kReadFailed);
}

TEST_F(SystemPlatformTest, ListsOrdinaryQbdFilesByNameWithoutCase) {
  for (const char* name : {"b.qbd", "A.QBD", "c.qbd", ".hidden.qbd", "d.txt", "e.qbdx"}) {
    InstallationBuilder::WriteNative(dir + "/g/" + name, "x");
  }
  fs::create_directories(dir + "/g/sub.qbd");
  InstallationBuilder::WriteNative(dir + "/g/sub.qbd/inner.qbd", "x");
  // A link counts as the file it leads to; a link to a folder is neither.
  fs::create_symlink(dir + "/g/c.qbd", dir + "/g/link.qbd");
  fs::create_directory_symlink(dir + "/g/sub.qbd", dir + "/g/folder-link.qbd");
  EXPECT_EQ(ListQbdFiles(platform, Tool(dir).WithSuffix("\\g")),
            (std::vector<std::string>{"A.QBD", "b.qbd", "c.qbd", "link.qbd"}));
  EXPECT_THROW(ListQbdFiles(platform, Tool(dir).WithSuffix("\\nothing")), FrameworkError);
}

// Deleted several at once, every file still answers in its own place: the
// missing one and the folder in the middle are told apart from the rest.
TEST_F(SystemPlatformTest, DeleteFilesAnswersForEachFileInItsPlace) {
  std::vector<Path> paths;
  // Not a multiple of the threads' count, so a share cut short shows.
  for (int i = 0; i < 27; ++i) {
    InstallationBuilder::WriteNative(dir + "/m/" + std::to_string(i), "x");
    paths.push_back(Tool(dir) / "m" / std::to_string(i));
  }
  fs::create_directories(dir + "/m/folder");
  paths[7] = Tool(dir).WithSuffix("\\m\\missing");
  paths[13] = Tool(dir).WithSuffix("\\m\\folder");
  const std::vector<Status> statuses = platform.DeleteFiles(paths);
  ASSERT_EQ(statuses.size(), paths.size());
  for (size_t i = 0; i < paths.size(); ++i) {
    const StatusKind expected = i == 7    ? StatusKind::kNotFound
                                : i == 13 ? StatusKind::kDeleteFailed
                                          : StatusKind::kOk;
    EXPECT_EQ(statuses[i].kind, expected) << i;
    if (!statuses[i].ok()) {
      EXPECT_EQ(statuses[i].path, paths[i]);
    }
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/m"), fs::directory_iterator()), 3);
}

TEST_F(SystemPlatformTest, CreateDirectoryIsOneLevel) {
  EXPECT_TRUE(platform.CreateDirectory(Tool(dir).WithSuffix("\\one")).ok());
  EXPECT_EQ(platform.CreateDirectory(Tool(dir).WithSuffix("\\one")).kind,
            StatusKind::kCannotCreate);
  EXPECT_EQ(platform.CreateDirectory(Tool(dir).WithSuffix("\\two\\three")).path,
            Tool(dir).WithSuffix("\\two\\three"));
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

// A shared folder is known by its file system's number, as Linux's own
// header names them; a local disk or memory is not one.
TEST(NetworkDriveTest, SharedFoldersAreKnownByTheirFileSystemsNumbers) {
  const struct {
    const char* name;
    unsigned long type;
    bool network;
  } cases[] = {
      {"NFS", NFS_SUPER_MAGIC, true},    {"SMB", SMB_SUPER_MAGIC, true},
      {"CIFS", CIFS_SUPER_MAGIC, true},  {"SMB2", SMB2_SUPER_MAGIC, true},
      {"ext4", EXT4_SUPER_MAGIC, false}, {"tmpfs", TMPFS_MAGIC, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsNetworkFileSystem(c.type), c.network) << c.name;
}

}  // namespace
}  // namespace dayledger
