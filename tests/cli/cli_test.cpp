// dayledger-upgrade run as a process on generated installations.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <thread>

#include "anniversary/anniversary_stage.h"
#include "app/tform1.h"
#include "cli/cli_options.h"
#include "commit/journal.h"
#include "dayledger_version.h"
#include "digest/sha1.h"
#include "floor/installation.h"
#include "platform/cp949_codec.h"
#include "platform/native_path.h"
#include "schedule/schedule_cipher.h"
#include "state/line_file.h"
#include "support/expected_log.h"
#include "support/front_end_cases.h"
#include "support/native_files.h"
#include "support/upgrade_fixture.h"
#include "support/wait.h"
#include "texts/texts.h"

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using demo::InstallationBuilder;
using demo::UserSpec;
using Lines = std::vector<std::string>;

struct ProcessResult {
  int status;
  std::string out;
  std::string err;
};

Lines SplitText(const std::string& text) { return SplitLines(text); }

// Runs the program with `args` (shell words, already quoted) and `input` on
// standard input, without a terminal.
ProcessResult RunCli(const std::string& dir, const std::string& args,
                     const std::string& input = "") {
  const std::string in = dir + "/stdin", out = dir + "/stdout", err = dir + "/stderr";
  std::ofstream(in) << input;
  // A hanging child is ended (and killed if it must be) rather than left running.
  const std::string command = "timeout -k 5 120 setsid " DAYLEDGER_UPGRADE_BIN " " + args + " <" +
                              in + " >" + out + " 2>" + err;
  const int raw = std::system(command.c_str());
  return {WEXITSTATUS(raw), InstallationBuilder::ReadNative(out),
          InstallationBuilder::ReadNative(err)};
}

using testing::SnapshotTree;
using testing::WithoutStamps;

class CliTest : public testing::UpgradeFixture {
 protected:
  std::string AppDirArg() const { return "--app-dir '" + builder.root() + "'"; }
  ProcessResult Cli(const std::string& args, const std::string& input = "") {
    return RunCli(platform.temp_dir(), AppDirArg() + " " + args, input);
  }
  void AddDemoUsers() {
    AddUsers({UserSpec{"kim", "10000", "", 2, 2, 1}, UserSpec{"홍길동", "10100", "", 1, 1, 1},
              UserSpec{"lee", "10200", "dayledger", 2, 1, 1},
              UserSpec{"park", "10300", "", 0, 1, 0}});
  }
};

TEST_F(CliTest, ListShowsEveryUserInOrder) {
  AddDemoUsers();
  const ProcessResult result = Cli("list");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "kim\t사용안함\tv 1.00.00\n홍길동\t사용안함\tv 1.01.00\nlee\t사용\tv 1.02.00\n"
            "park\t사용안함\tv 1.03.00\n");
}

TEST_F(CliTest, UpgradeMatchesTheWindowByteForByte) {
  AddDemoUsers();
  const std::string copy = platform.temp_dir() + "/window-copy";
  fs::copy(builder.root(), copy, fs::copy_options::recursive);

  const ProcessResult kim = Cli("upgrade kim");
  ASSERT_EQ(kim.status, 0) << kim.err;
  const ProcessResult lee = Cli("upgrade lee --password-stdin", "dayledger\n");
  ASSERT_EQ(lee.status, 0) << lee.err;
  EXPECT_EQ(kim.err, "사용자 정보 업그레이드가 완료되었습니다!\n");

  InstallationBuilder window_installation(copy);
  platform.executable_path = window_installation.AppDir().WithSuffix("dayledger-upgrade-gui");
  OpenedInstallation opened = OpenProgramInstallation(platform);
  ASSERT_TRUE(opened.installation.ok());
  TForm1 form(*opened.installation, platform);
  Lines window_log;
  for (const auto& [row, password] : {std::pair{0, ""}, std::pair{2, "dayledger"}}) {
    form.findChild<QListWidget*>("ListBox1")->setCurrentRow(row);
    form.findChild<QLineEdit*>("Edit1")->setText(QString::fromUtf8(password));
    form.Button1Click();
    ASSERT_TRUE(form.Timer2->isActive());
    form.Timer2Timer();
    while (form.Timer1->isActive()) form.Timer1Timer();
  }
  const QStringList memo = form.findChild<QPlainTextEdit*>("Memo1")->toPlainText().split('\n');
  for (qsizetype i = 1; i < memo.size(); ++i) window_log.push_back(memo[i].toStdString());

  Lines cli_log = SplitText(kim.out);
  const Lines lee_log = SplitText(lee.out);
  cli_log.insert(cli_log.end(), lee_log.begin(), lee_log.end());
  EXPECT_EQ(WithoutStamps(cli_log), WithoutStamps(window_log));
  EXPECT_TRUE(SnapshotTree(builder.root() + "/users") == SnapshotTree(copy + "/users"));
  // The backups alike; each run keeps a record of its own beside them.
  const auto backups = [](const std::string& root) {
    auto tree = SnapshotTree(root + "/upgrade_backup");
    std::erase_if(tree, [](const auto& entry) { return entry.first.rfind(".dlu", 0) == 0; });
    return tree;
  };
  EXPECT_TRUE(backups(builder.root()) == backups(copy));
  EXPECT_EQ(SplitLines(Read("users/lee/profile.qbd")).at(1), "10300");
}

// Every case a front end must pass, as a script runs the program: the
// password on standard input, --yes for the question.
TEST_F(CliTest, EveryFrontEndCase) {
  for (const testing::FrontEndCase& c : testing::FrontEndCases()) {
    const auto running = testing::Install(builder, c);
    const ProcessResult result = Cli(
        std::string("upgrade u --password-stdin") + (c.skip_backup ? " --skip-backup --yes" : ""),
        c.password + "\n");
    const int status = c.end == testing::CaseEnd::kDone      ? 0
                       : c.end == testing::CaseEnd::kRefused ? 1
                                                             : 3;
    EXPECT_EQ(result.status, status) << c.name;
    // --yes answers the question unseen; every other message goes to standard error.
    std::string shown;
    for (const std::string& m : testing::ExpectedMessages(c, builder)) {
      if (m.rfind("question:", 0) != 0) shown += m.substr(m.find(':') + 1) + "\n";
    }
    EXPECT_EQ(result.err, shown) << c.name;
    EXPECT_EQ(WithoutStamps(SplitText(result.out)), c.log) << c.name;
  }
}

// Every way each command ends that leaves the installation as it was, with
// the exit status and the words on standard error.
TEST_F(CliTest, EveryCommandEndsWithItsExitStatusAndChangesNothingWhenItDoesNotGoOn) {
  AddDemoUsers();
  ASSERT_EQ(Cli("upgrade 홍길동").status, 0);
  fs::remove(NativeOf("upgrade_backup/홍길동/profile.qbd"));
  ASSERT_EQ(Cli("upgrade kim").status, 0);
  // A folder where kim's lock file belongs: the lock cannot be taken.
  fs::create_directories(NativeOf("upgrade_backup/.dlu/locks/kim"));
  const std::string app = builder.AppDir().text();
  const std::string try_help = "\nTry 'dayledger-upgrade --help'.\n";
  const struct {
    std::string args;
    int status;
    std::string err;
  } cases[] = {
      {"frobnicate", 2, "dayledger-upgrade: unknown command frobnicate" + try_help},
      {"list --yes", 2, "dayledger-upgrade: --yes belongs to upgrade and restore" + try_help},
      {"upgrade lee", 2,
       "dayledger-upgrade: the data of lee is encrypted; give the password on a terminal or "
       "with --password-stdin\n"},
      {"upgrade nobody", 2, "dayledger-upgrade: unknown user nobody\n"},
      {"upgrade park --skip-backup", 2,
       "dayledger-upgrade: --skip-backup needs --yes when no terminal can ask\n"},
      {"upgrade park", 1, std::string(texts::kAlreadyLatest) + "\n"},
      {"check", 2, "dayledger-upgrade: check needs one user name" + try_help},
      {"check nobody", 2, "dayledger-upgrade: unknown user nobody\n"},
      {"check park", 1, std::string(texts::kAlreadyLatest) + "\n"},
      {"verify nobody", 2, "dayledger-upgrade: unknown user nobody\n"},
      {"verify lee", 2,
       "dayledger-upgrade: the data of lee is encrypted; give the password on a terminal or "
       "with --password-stdin\n"},
      {"verify park", 3, "비교할 백업이 없습니다: " + app + "upgrade_backup\\park\n"},
      {"verify 홍길동", 3,
       "백업의 사용자 정보를 읽을 수 없습니다: " + app + "upgrade_backup\\홍길동\\profile.qbd\n"},
      {"restore", 2, "dayledger-upgrade: restore needs one user name" + try_help},
      {"restore --all", 2,
       "dayledger-upgrade: --all belongs to upgrade, check and verify" + try_help},
      {"upgrade kim --all", 2, "dayledger-upgrade: --all takes no user name" + try_help},
      {"restore kim --password-stdin", 2,
       "dayledger-upgrade: --password-stdin belongs to upgrade, check and verify" + try_help},
      {"restore nobody --yes", 2, "dayledger-upgrade: unknown user nobody\n"},
      {"restore kim", 2, "dayledger-upgrade: restore needs --yes when no terminal can ask\n"},
      // The lock cannot be taken: refused, as the upgrade refuses it.
      {"restore kim --yes", 1,
       texts::kLockUnavailable + app + "upgrade_backup\\.dlu\\locks\\kim" +
           testing::ReasonShown(EISDIR) + "\n"},
      {"restore park --yes", 1, "복원할 백업이 없습니다: " + app + "upgrade_backup\\park\n"},
      {"restore 홍길동 --yes", 1,
       "백업의 사용자 정보를 읽을 수 없습니다: " + app + "upgrade_backup\\홍길동\\profile.qbd\n"},
  };
  const auto before = SnapshotTree(builder.root());
  for (const auto& c : cases) {
    const ProcessResult result = Cli(c.args);
    EXPECT_EQ(result.status, c.status) << c.args;
    EXPECT_EQ(result.err, c.err) << c.args;
  }
  EXPECT_TRUE(SnapshotTree(builder.root()) == before) << "refusals change nothing";

  Write("users/odd/profile.qbd", "#profile data#\r\n10250\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n0\r\n");
  Write("users/userlist.kvd", "1\r\nodd\r\n");
  const ProcessResult odd = Cli("upgrade odd");
  EXPECT_EQ(odd.status, 1);
  EXPECT_EQ(odd.err, "지원하지 않는 데이터 버전입니다.\n");
  // Started from the wrong folder: one below the installation (where
  // unpacking a zip puts its files), and one with no installation near.
  fs::create_directory(NativeOf("unpacked"));
  const ProcessResult below =
      RunCli(platform.temp_dir(), "--app-dir '" + NativeOf("unpacked") + "' list");
  EXPECT_EQ(below.status, 1);
  EXPECT_EQ(below.err, texts::kUserListMissing +
                           texts::UserListLookedFor(app + "unpacked\\users\\userlist.kvd") +
                           texts::InstallationAbove(app.substr(0, app.size() - 1)) + "\n");
  fs::remove(NativeOf("users/userlist.kvd"));
  const ProcessResult no_list = Cli("list");
  EXPECT_EQ(no_list.status, 1);
  EXPECT_EQ(no_list.err,
            texts::kUserListMissing + texts::UserListLookedFor(app + "users\\userlist.kvd") + "\n");
}

// Opening the installation finishes what an interrupted change left before
// any command: a whole journal is rolled forward, and said so. One whose new
// file is gone while its target does not hold it stops the program with
// status 3, naming the file, and changes nothing.
TEST_F(CliTest, OpeningFinishesAnInterruptedChangeOrStopsWithThree) {
  const Journal journal{{{".dlu-1", "x.qbd", true, 3, HexDigest("new")}}, {}, {}, {""}};
  const std::string newer_swap = "upgrade_backup/.dlu/swaps/u";
  const struct {
    const char* name;
    bool temporary_there;
    int status;
    std::string words;
    bool newer_swap = false;  // a backup swap's record a newer build left
  } cases[] = {
      {"whole", true, 0, texts::kNoteRolledForward + texts::NoteUser("u") + "\n"},
      {"lost", false, 3, texts::kNoteFailed + texts::NoteUser("u") + " " + texts::kChangeLost},
      {"newer swap record", true, 3,
       texts::kNoteFailed + texts::NoteUser("u") + " " + texts::kNewerFormat, true},
  };
  for (const auto& c : cases) {
    AddUsers({UserSpec{"u", "10200", "", 0, 0, 0}});
    Write("users/u/.dlu-journal", EncodeJournal(journal));
    if (c.temporary_there) Write("users/u/.dlu-1", "new");
    if (c.newer_swap) Write(newer_swap, "dayledger swap 2\n");
    const ProcessResult listed = Cli("list");
    const bool done = c.status == 0;
    EXPECT_EQ(listed.status, c.status) << c.name;
    EXPECT_EQ(listed.err.find(c.words), c.newer_swap ? listed.err.find(texts::kNoteFailed) : 0u)
        << c.name << ": " << listed.err;
    // No command goes on past it, a skipped backup's least of all.
    if (c.newer_swap) {
      EXPECT_EQ(Cli("upgrade u --skip-backup --yes").status, 3);
      EXPECT_EQ(Read(newer_swap), "dayledger swap 2\n");
      // The lock it took to look went with the folder it made for it.
      EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup/.dlu/locks")));
      fs::remove(NativeOf(newer_swap));
      continue;
    }
    // Finished, or nothing changed and no command run.
    EXPECT_EQ(fs::exists(NativeOf("users/u/x.qbd")), done) << c.name;
    EXPECT_EQ(fs::exists(NativeOf("users/u/.dlu-journal")), !done) << c.name;
    EXPECT_EQ(fs::exists(NativeOf("users/u/.dlu-1")), !done && c.temporary_there) << c.name;
    EXPECT_EQ(listed.out.empty(), !done) << c.name;
    fs::remove(NativeOf("users/u/.dlu-journal"));
    fs::remove(NativeOf("users/u/x.qbd"));
  }
}

// A small disk of its own (root may mount one): without room for the
// backup and the new files the upgrade is refused before anything, naming
// what it needs and what is free; given room, the same upgrade runs.
TEST_F(CliTest, ADiskWithoutRoomIsRefusedBeforeAnything) {
  const std::string disk = platform.temp_dir() + "/disk";
  fs::create_directory(disk);
  const auto mount = [&](const std::string& options) {
    return std::system(
        ("mount -t tmpfs -o " + options + " tmpfs '" + disk + "' 2>/dev/null").c_str());
  };
  if (mount("size=4m") != 0) GTEST_SKIP() << "mounting a small disk needs root";
  struct Unmount {
    std::string at;
    ~Unmount() { EXPECT_EQ(std::system(("umount '" + at + "'").c_str()), 0); }
  } unmount{disk};
  InstallationBuilder small(disk + "/app");
  small.WriteTemplates();
  small.WriteUser({"u", "10100", "", 1, 1, 1});
  small.WriteUserList({"u"});
  const auto before = SnapshotTree(small.root());

  const ProcessResult refused =
      RunCli(platform.temp_dir(), "--app-dir '" + small.root() + "' upgrade u");
  EXPECT_EQ(refused.status, 1);
  const std::uintmax_t free = fs::space(disk).available;
  const std::string tenths =
      std::to_string(free / 104857 / 10) + "." + std::to_string(free / 104857 % 10);
  const std::string app = small.AppDir().text();
  EXPECT_TRUE(refused.err.starts_with(texts::DiskTooFull("", "", "").substr(0, 60))) << refused.err;
  EXPECT_TRUE(refused.err.ends_with(" MB, 남은 공간 : " + tenths + " MB (" +
                                    app.substr(0, app.size() - 1) + ")\n"))
      << refused.err;
  EXPECT_EQ(refused.out, "") << "no log line";
  EXPECT_TRUE(SnapshotTree(small.root()) == before);

  ASSERT_EQ(mount("remount,size=16m"), 0);
  const ProcessResult done =
      RunCli(platform.temp_dir(), "--app-dir '" + small.root() + "' upgrade u");
  EXPECT_EQ(done.status, 0) << done.err;
}

// A password piped in as a Korean PC saves it: plain UTF-8, UTF-8 after a
// byte-order mark, or the console's code page (CP949), each with CR LF.
TEST_F(CliTest, PasswordOnStandardInputInEachUsualEncoding) {
  AddUsers({UserSpec{"u", "10100", "비밀번호", 1, 1, 1}});
  const std::string cp949 = Utf8ToCp949Text("비밀번호");
  ASSERT_NE(cp949, "비밀번호");
  const struct {
    std::string input;
    int status;
  } cases[] = {
      {"비밀번호\n", 0},
      {"\xEF\xBB\xBF비밀번호\r\n", 0},
      {cp949 + "\r\n", 0},
      {cp949.substr(0, 4) + "\n", 1},
      {"\xEF\xBB\xBF" + cp949 + "x\n", 1},
  };
  const auto before = SnapshotTree(builder.root());
  for (const auto& c : cases) {
    const ProcessResult result = Cli("check u --password-stdin", c.input);
    EXPECT_EQ(result.status, c.status) << c.input << result.err;
  }
  EXPECT_TRUE(SnapshotTree(builder.root()) == before);
}

TEST_F(CliTest, SkipBackupWithYesSkipsTheBackup) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  const ProcessResult result = Cli("upgrade u --skip-backup --yes");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SplitText(result.out).at(2).substr(10),
            "데이터 백업 건너뛰기가 설정된 상태입니다. 백업 과정을 건너뜁니다.");
  EXPECT_TRUE(fs::is_empty(NativeOf("upgrade_backup/u")));
}

TEST_F(CliTest, StoppedUpgradeExitsWithThree) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  fs::remove(NativeOf("users/u/timetables/timetable1.qbd"));
  Write("users/u/timetables/timetable1.qbd", "one line\r\n");
  const ProcessResult result = Cli("upgrade u");
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err.substr(0, result.err.find('\n')), "List index out of bounds (1)");
  // The message names the file and the run's record.
  EXPECT_NE(result.err.find("timetables\\timetable1.qbd\n" + std::string(texts::kRecordKeptAt + 1)),
            std::string::npos)
      << result.err;
  EXPECT_EQ(SplitLines(Read("users/u/profile.qbd")).at(1), "10200");
}

TEST_F(CliTest, CheckFindsEveryProblemAndChangesNothing) {
  AddUsers({UserSpec{"u", "10100", "pw", 1, 2, 1}, UserSpec{"clean", "10000", "", 1, 1, 1}});
  const auto clean_before = SnapshotTree(builder.root());
  const ProcessResult clean = Cli("check clean");
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_EQ(clean.out, "");
  EXPECT_TRUE(SnapshotTree(builder.root()) == clean_before);

  const ScheduleKey key = MakeScheduleKey(InstallationBuilder::DataKeyFor("pw"));
  auto enciphered = [&](const std::string& plain) { return Encipher(plain, key); };
  fs::remove(NativeOf("users/u/schedules/199003.qbsd"));
  Write("users/u/schedules/200001.qbsd", enciphered("h\r\n10100\r\n"));
  Write("users/u/schedules/201105.qbsd", enciphered("h\r\n10100\r\nmany\r\nentry\r\n"));
  Write("users/u/groups/group2.qbd", "only one line\r\n");
  fs::remove(NativeOf("data/userscommon/repeat.qbsd"));
  const auto before = SnapshotTree(builder.root());

  const ProcessResult result = Cli("check u --password-stdin", "pw\n");
  EXPECT_EQ(result.status, 1) << result.err;
  const std::string app = builder.AppDir().text();
  const std::string dir = app + "\\users\\u";
  // Each line names the file, then the error with the system's reason, or
  // the file again after a parse error, which has none.
  const std::string missing = " " + texts::SystemReasonShown(ENOENT, SystemErrorText(ENOENT));
  const auto parse = [](const std::string& path) { return " " + (texts::kFileNamed + path); };
  EXPECT_EQ(SplitText(result.out),
            (Lines{app + "\\data\\userscommon\\repeat.qbsd\tCannot open file " + app +
                       "\\data\\userscommon\\repeat.qbsd." + missing,
                   dir + "\\schedules\\199003.qbsd\tCannot open file " + dir +
                       "\\schedules\\199003.qbsd." + missing,
                   dir + "\\groups\\group2.qbd\tList index out of bounds (1)" +
                       parse(dir + "\\groups\\group2.qbd"),
                   dir + "\\schedules\\200001.qbsd\tList index out of bounds (0)" +
                       parse(dir + "\\schedules\\200001.qbsd"),
                   dir + "\\schedules\\201105.qbsd\t'many' is not a valid integer value." +
                       parse(dir + "\\schedules\\201105.qbsd")}));
  EXPECT_TRUE(SnapshotTree(builder.root()) == before) << "check changes nothing";

  const ProcessResult wrong = Cli("check u --password-stdin", "nope\n");
  EXPECT_EQ(wrong.status, 1);
  EXPECT_EQ(wrong.err, "비밀번호가 틀렸습니다.\n");
}

TEST_F(CliTest, ADamagedUserDoesNotStopTheOthers) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  Write("users/userlist.kvd", "3\r\nghost\r\nbroken\r\nu\r\n");  // ghost has no folder at all
  Write("users/broken/profile.qbd", "not a profile\r\n");
  const ProcessResult list = Cli("list");
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out, "ghost\t\t\nbroken\t\t\nu\t사용안함\tv 1.02.00\n");
  const ProcessResult check = Cli("check u");
  EXPECT_EQ(check.status, 0) << check.err;
  const ProcessResult upgrade = Cli("upgrade u");
  EXPECT_EQ(upgrade.status, 0) << upgrade.err;
  EXPECT_EQ(SplitLines(Read("users/u/profile.qbd")).at(1), "10300");
}

TEST_F(CliTest, RoughEdgesOfTheTerminalProgram) {
  AddUsers({UserSpec{"enc", "10100", "pw", 1, 1, 1}, UserSpec{"bare", "10100", "", 1, 1, 1},
            UserSpec{"nofolders", "10200", "", 1, 1, 1}});
  const std::string app = builder.AppDir().text();

  // A password line ending in CR LF, as a Windows pipe gives it.
  const ProcessResult crlf = Cli("upgrade enc --password-stdin", "pw\r\n");
  EXPECT_EQ(crlf.status, 0) << crlf.err;

  // Writing the template's copy fails: the error names the destination.
  fs::remove_all(NativeOf("users/bare/schedules"));
  const ProcessResult bare = Cli("upgrade bare");
  EXPECT_EQ(bare.status, 3);
  EXPECT_EQ(
      bare.err.rfind("Cannot create file " + app + "\\users\\bare\\schedules\\repeat.qbsd.\n" +
                         (texts::kRecordKeptAt + 1),
                     0),
      0u)
      << bare.err;

  // check goes on past missing group and timetable folders.
  fs::remove_all(NativeOf("users/nofolders/groups"));
  fs::remove_all(NativeOf("users/nofolders/timetables"));
  fs::remove(NativeOf("users/nofolders/schedules/200510.qbsd"));
  const ProcessResult check = Cli("check nofolders");
  EXPECT_EQ(check.status, 1);
  const std::string dir = app + "\\users\\nofolders";
  const std::string missing = texts::SystemReasonShown(ENOENT, SystemErrorText(ENOENT));
  EXPECT_EQ(SplitText(check.out),
            (Lines{dir + "\\schedules\\200510.qbsd\tCannot open file " + dir +
                       "\\schedules\\200510.qbsd. " + missing,
                   dir + "\\groups\tCannot open folder " + dir + "\\groups. " + missing,
                   dir + "\\timetables\tCannot open folder " + dir + "\\timetables. " + missing}));

  // Without a backup folder the user's lock cannot be taken either: the
  // run stops before anything changes, naming the lock file.
  fs::remove_all(NativeOf("upgrade_backup"));
  Write("upgrade_backup", "a file where the backup folder belongs");
  const auto before = SnapshotTree(builder.root());
  const ProcessResult backup = Cli("upgrade nofolders");
  EXPECT_EQ(backup.status, 1);
  EXPECT_EQ(backup.err, texts::kLockUnavailable + app.substr(0, app.size() - 1) +
                            "\\upgrade_backup\\.dlu\\locks\\nofolders" +
                            testing::ReasonShown(ENOTDIR) + "\n");
  // check meets it the same way.
  const ProcessResult checked = Cli("check nofolders");
  EXPECT_EQ(checked.status, 1);
  EXPECT_EQ(checked.err, backup.err);
  EXPECT_TRUE(SnapshotTree(builder.root()) == before);
}

TEST_F(CliTest, ProgressOnATerminalSpeaksKoreanWithABar) {
  AddUsers({UserSpec{"u", "10000", "", 1, 1, 1}});
  // `script` gives the program a terminal; what it shows lands in the file.
  const std::string shown = platform.temp_dir() + "/terminal";
  const std::string command = "timeout -k 5 120 script -qec \"" DAYLEDGER_UPGRADE_BIN " " +
                              AppDirArg() + " upgrade u --skip-backup --yes >/dev/null\" " + shown +
                              " >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string terminal = InstallationBuilder::ReadNative(shown);
  for (const char* line : {"일정 데이터 [--------------------] 1/600 (0%)",
                           "일정 데이터 [##########----------] 300/600 (50%)",
                           "일정 데이터 [####################] 600/600 (100%)",
                           "기념일 데이터 [####################] 4/4 (100%)"}) {
    EXPECT_NE(terminal.find(line), std::string::npos) << line;
  }
}

// The way back, through the program as a process.
TEST_F(CliTest, RestoreGivesBackTheOriginalAndKeepsTheUpgradedFolder) {
  AddDemoUsers();
  const auto original = SnapshotTree(builder.root() + "/users/kim");
  ASSERT_EQ(Cli("upgrade kim").status, 0);
  const auto upgraded = SnapshotTree(builder.root() + "/users/kim");
  ASSERT_FALSE(upgraded == original);

  const ProcessResult restore = Cli("restore kim --yes");
  ASSERT_EQ(restore.status, 0) << restore.err;
  EXPECT_TRUE(SnapshotTree(builder.root() + "/users/kim") == original) << "byte for byte";
  const Lines out = SplitText(restore.out);
  ASSERT_EQ(out.size(), 4u) << restore.out;
  EXPECT_EQ(out[0], "백업의 데이터 버전 : v 1.00.00");
  EXPECT_EQ(out[1], "현재 데이터 버전 : v 1.03.00");
  const std::string kept_prefix = "되돌리기 전의 폴더는 다음 위치에 보관하였습니다 : ";
  ASSERT_EQ(out[2].rfind(kept_prefix, 0), 0u);
  const std::string kept = out[2].substr(kept_prefix.size());
  EXPECT_EQ(fs::path(kept).parent_path(), fs::path(NativeOf("upgrade_backup/.dlu/kept/kim")));
  EXPECT_TRUE(SnapshotTree(kept) == upgraded) << "the upgraded folder is kept whole";
  EXPECT_EQ(out[3], "백업으로 되돌렸습니다.");
  // Restored, the user can be upgraded again.
  EXPECT_EQ(Cli("upgrade kim").status, 0);
  EXPECT_TRUE(SnapshotTree(builder.root() + "/users/kim") == upgraded);
  // Each of the three runs left its record; the restore's says what it did.
  int records = 0;
  for (const auto& entry : fs::directory_iterator(NativeOf("upgrade_backup/.dlu/logs/kim"))) {
    const std::string record = InstallationBuilder::ReadNative(entry.path().string());
    ++records;
    if (record.find("작업 : 백업으로 되돌리기\r\n") == std::string::npos) continue;
    EXPECT_NE(record.find(kept_prefix), std::string::npos) << record;
    EXPECT_NE(record.find(fs::path(kept).filename().string() + "\r\n"), std::string::npos)
        << record;
    EXPECT_NE(record.find("]백업으로 되돌렸습니다.\r\n"), std::string::npos) << record;
    EXPECT_TRUE(record.ends_with("]결과 : 완료 (종료 코드 0)\r\n")) << record;
  }
  EXPECT_EQ(records, 3);
}

// The scheduler started from the installation's folder is found when the
// folder is given by another path to it (a link, as a junction or a mapped
// drive is on Windows).
// Restore refuses it too: the scheduler would write its data back over the
// restored folder.
TEST_F(CliTest, SchedulerFoundThroughAnotherPathToTheFolder) {
  testing::FrontEndCase running{.name = "running", .user = {"u", "10200", "", 1, 1, 1}};
  running.running_program = "Dayledger.exe";
  const auto program = testing::Install(builder, running);
  fs::create_directories(NativeOf("upgrade_backup/u"));
  fs::copy(NativeOf("users/u"), NativeOf("upgrade_backup/u"), fs::copy_options::recursive);
  const std::string alias = platform.temp_dir() + "/alias";
  fs::create_directory_symlink(builder.root(), alias);
  const auto before = SnapshotTree(builder.root());
  for (const char* command : {"upgrade u", "restore u --yes"}) {
    const ProcessResult result =
        RunCli(platform.temp_dir(), "--app-dir '" + alias + "' " + command);
    EXPECT_EQ(result.status, 1) << command;
    EXPECT_NE(result.err.find(texts::kProgramRunning + std::string("Dayledger.exe\n")),
              std::string::npos)
        << command << ": " << result.err;
    EXPECT_TRUE(SnapshotTree(builder.root()) == before) << command;
  }
}

// The user's own folder a link to somewhere else: nothing is made through it.
TEST_F(CliTest, UserFolderLinkedElsewhereIsRefused) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  const std::string elsewhere = platform.temp_dir() + "/elsewhere";
  fs::rename(NativeOf("users/u"), elsewhere);
  fs::create_directory_symlink(elsewhere, NativeOf("users/u"));
  const auto before = SnapshotTree(elsewhere);
  const ProcessResult result = Cli("upgrade u");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, texts::kLinkOnTheWay + builder.AppDir().text() + "users\\u\n");
  EXPECT_TRUE(SnapshotTree(elsewhere) == before);
}

// root on another account's installation would leave files that account
// cannot change: upgrade, restore and check refuse, naming the owner.
TEST_F(CliTest, RootRefusesAnotherAccountsInstallation) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root";
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  fs::create_directories(NativeOf("upgrade_backup/u"));
  fs::copy(NativeOf("users/u"), NativeOf("upgrade_backup/u"), fs::copy_options::recursive);
  constexpr uid_t kOther = 65534;
  ASSERT_EQ(::chown(builder.root().c_str(), kOther, kOther), 0);
  for (const auto& entry : fs::recursive_directory_iterator(builder.root())) {
    ASSERT_EQ(::lchown(entry.path().c_str(), kOther, kOther), 0);
  }
  const passwd* owner = ::getpwuid(kOther);
  const std::string refused =
      texts::InstallationOfOtherAccount(owner ? owner->pw_name : "65534", "root") + "\n";
  const auto before = SnapshotTree(builder.root());
  for (const char* args : {"upgrade u", "restore u --yes", "check u"}) {
    const ProcessResult result = Cli(args);
    EXPECT_EQ(result.status, 1) << args;
    EXPECT_NE(result.err.find(refused), std::string::npos) << args << ": " << result.err;
    EXPECT_TRUE(SnapshotTree(builder.root()) == before) << args;
  }
  struct stat info {};
  ASSERT_EQ(::stat(builder.root().c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, kOther) << "nothing of root's was left";
}

TEST(CliOptionsTest, HelpDocumentsEveryCommandAndStatus) {
  for (const char* word : {"list", "upgrade USER", "check USER", "--skip-backup", "--yes",
                           "--password-stdin", "--app-dir", "--version", "restore USER", "0  done",
                           "1  refused", "2  wrong usage", "3  the upgrade stopped"}) {
    EXPECT_NE(cli::HelpText().find(word), std::string::npos) << word;
  }
  const ProcessResult help = RunCli(fs::temp_directory_path().string(), "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, cli::HelpText());
  // The data version it names is the version table's.
  std::vector<VersionStep> steps = VersionChain::Standard().steps();
  steps.push_back({"10300", "10400", StampAnniversaryFiles, StampAnniversaryFiles});
  EXPECT_NE(cli::HelpText(VersionChain(std::move(steps))).find("to data version 1.04, as"),
            std::string::npos);
  // The version the project states, and the data version the tool writes.
  const ProcessResult version = RunCli(fs::temp_directory_path().string(), "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "dayledger-upgrade " DAYLEDGER_TOOL_VERSION " (data version v 1.03.00)\n");
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

TEST_F(CliTest, UpgradeOfAUserLockedElsewhereIsRefusedAndChangesNothing) {
  AddDemoUsers();
  Result<UserLock> held = installation.LockUser("kim");
  ASSERT_TRUE(held.ok());
  const auto before = SnapshotTree(builder.root());
  const ProcessResult refused = Cli("upgrade kim");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, std::string(texts::kUserBusy) + "\n");
  EXPECT_TRUE(SnapshotTree(builder.root()) == before);
  *held = UserLock();
  const ProcessResult done = Cli("upgrade kim");
  EXPECT_EQ(done.status, 0) << done.err;
  EXPECT_EQ(SplitLines(Read("users/kim/profile.qbd")).at(1), "10300");
}

// dayledger-upgrade started in the background; killed at the latest when
// the test ends, however it ends.
class BackgroundCli {
 public:
  BackgroundCli(const std::string& dir, const std::string& args, const std::string& input = "") {
    const std::string script = dir + "/background.sh", pid_file = dir + "/background.pid";
    std::ofstream(dir + "/background.in") << input;
    std::ofstream(script) << "echo $$ > '" << pid_file << "'\nexec " DAYLEDGER_UPGRADE_BIN " "
                          << args << "\n";
    const std::string command = "setsid sh '" + script + "' <" + dir + "/background.in >" + dir +
                                "/background.out 2>" + dir + "/background.err &";
    if (std::system(command.c_str()) != 0) return;
    for (int i = 0; i < 1500 && pid_ <= 0; ++i) {
      std::ifstream(pid_file) >> pid_;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~BackgroundCli() { Kill(); }
  void Kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
};

bool WaitFor(const std::function<bool()>& done) {
  return testing::WaitUntil(done,
                            [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); });
}

TEST_F(CliTest, SecondRunIsRefusedWhileTheFirstHoldsTheUserAndAKilledRunLeavesNothingHalfDone) {
  AddDemoUsers();
  const std::string reference = platform.temp_dir() + "/reference";
  fs::copy(builder.root(), reference, fs::copy_options::recursive);
  ASSERT_EQ(RunCli(platform.temp_dir(), "--app-dir '" + reference + "' upgrade kim").status, 0);

  // A pipe in the user's folder holds the first run inside its backup,
  // after its start checks took the user's lock.
  ASSERT_EQ(::mkfifo(NativeOf("users/kim/pipe").c_str(), 0644), 0);
  const auto before = SnapshotTree(builder.root() + "/users");
  {
    BackgroundCli first(platform.temp_dir(), AppDirArg() + " upgrade kim");
    ASSERT_TRUE(WaitFor([&] { return installation.UserBusy("kim").value_or(false); }))
        << "the first run holds the lock";
    const ProcessResult second = Cli("upgrade kim");
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, std::string(texts::kUserBusy) + "\n");
    const ProcessResult check = Cli("check kim");
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.err, std::string(texts::kUserBusy) + " (kim)\n");
    const ProcessResult list = Cli("list");
    EXPECT_EQ(
        list.out,
        "kim\t\t\n홍길동\t사용안함\tv 1.01.00\nlee\t사용\tv 1.02.00\npark\t사용안함\tv 1.03.00\n");
    EXPECT_TRUE(SnapshotTree(builder.root() + "/users") == before)
        << "nothing changed while it ran";
    first.Kill();
    ASSERT_TRUE(WaitFor([&] { return !installation.UserBusy("kim").value_or(true); }))
        << "a killed run leaves no lock";
  }
  fs::remove(NativeOf("users/kim/pipe"));
  const auto original = SnapshotTree(builder.root() + "/users/kim");
  const ProcessResult next = Cli("upgrade kim");
  ASSERT_EQ(next.status, 0) << next.err;
  // The folders hold the data's files only: nothing of the tool's is left.
  EXPECT_TRUE(SnapshotTree(builder.root() + "/users") == SnapshotTree(reference + "/users"))
      << "the same as an uninterrupted upgrade";
  EXPECT_TRUE(SnapshotTree(builder.root() + "/upgrade_backup/kim") == original)
      << "the backup is the folder before the upgrade, file for file";
}

TEST_F(CliTest, WindowRefusesAUserTheTerminalProgramHolds) {
  AddDemoUsers();
  ASSERT_EQ(::mkfifo(NativeOf("users/lee/pipe").c_str(), 0644), 0);
  BackgroundCli terminal(platform.temp_dir(), AppDirArg() + " upgrade lee --password-stdin",
                         "dayledger\n");
  ASSERT_TRUE(WaitFor([&] { return installation.UserBusy("lee").value_or(false); }));
  const auto before = SnapshotTree(builder.root() + "/users");

  platform.executable_path = builder.AppDir().WithSuffix("dayledger-upgrade-gui");
  OpenedInstallation opened = OpenProgramInstallation(platform);
  ASSERT_TRUE(opened.installation.ok());
  TForm1 form(*opened.installation, platform);
  form.show();
  auto* list = form.findChild<QListWidget*>("ListBox1");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    list->visualItemRect(list->item(2)).center());
  QTest::keyClicks(form.findChild<QLineEdit*>("Edit1"), "dayledger");
  QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].flags, kMbInformation);
  EXPECT_EQ(platform.messages[0].text, texts::kUserBusy);
  EXPECT_FALSE(form.Timer2->isActive());
  EXPECT_TRUE(SnapshotTree(builder.root() + "/users") == before);
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

// An installation in a folder whose name CP949 cannot hold: the folder is
// used as the system names it, given or found next to the program, and
// shown so; only the user names are CP949.
TEST_F(CliTest, InstallationInAFolderNamedOutsideCp949) {
  AddDemoUsers();
  const std::string folder = platform.temp_dir() + "/café 😀";
  fs::create_directories(folder);
  fs::rename(builder.root(), folder + "/app");
  const std::string app = "'" + folder + "/app'";
  const ProcessResult list = RunCli(platform.temp_dir(), "--app-dir " + app + " list");
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(SplitText(list.out).size(), 4u) << list.out;
  const ProcessResult upgrade = RunCli(platform.temp_dir(), "--app-dir " + app + " upgrade kim");
  EXPECT_EQ(upgrade.status, 0) << upgrade.err;
  EXPECT_EQ(
      SplitLines(InstallationBuilder::ReadNative(folder + "/app/users/kim/profile.qbd")).at(1),
      "10300");
  fs::remove_all(folder + "/app/users/홍길동/groups");
  const ProcessResult check = RunCli(platform.temp_dir(), "--app-dir " + app + " check 홍길동");
  EXPECT_NE(check.out.find("\\café 😀\\app\\"), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("홍길동\\groups\tCannot open folder \\"), std::string::npos)
      << check.out;

  // Found from the program's own place, and named natively where shown.
  fs::copy_file(DAYLEDGER_UPGRADE_BIN, folder + "/app/dayledger-upgrade");
  const std::string command = "cd '" + folder + "/app' && timeout -k 5 120 ./dayledger-upgrade " +
                              "restore kim --yes >" + platform.temp_dir() + "/out 2>" +
                              platform.temp_dir() + "/err";
  ASSERT_EQ(std::system(command.c_str()), 0)
      << InstallationBuilder::ReadNative(platform.temp_dir() + "/err");
  EXPECT_NE(InstallationBuilder::ReadNative(platform.temp_dir() + "/out")
                .find("/café 😀/app/upgrade_backup/.dlu/kept/kim/before-restore-"),
            std::string::npos)
      << InstallationBuilder::ReadNative(platform.temp_dir() + "/out");
  EXPECT_EQ(
      SplitLines(InstallationBuilder::ReadNative(folder + "/app/users/kim/profile.qbd")).at(1),
      "10000");
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

// verify after an upgrade of each demo user, as a script would run it.
TEST_F(CliTest, VerifyAccountsForEveryEntryOfEachUpgradedDemoUser) {
  AddDemoUsers();
  const struct {
    const char* user;
    const char* password;
    int entries;
  } users[] = {{"kim", "", 2 * 600}, {"홍길동", "", 600}, {"lee", "dayledger", 2 * 600}};
  for (const auto& u : users) {
    const std::string input = std::string(u.password) + "\n";
    ASSERT_EQ(Cli(std::string("upgrade ") + u.user + " --password-stdin", input).status, 0);
    const ProcessResult verify =
        Cli(std::string("verify ") + u.user + " --password-stdin --json", input);
    EXPECT_EQ(verify.status, 0) << u.user << verify.err;
    const auto report = nlohmann::json::parse(verify.out)["users"][0]["report"];
    EXPECT_EQ(report["backup_entries"], u.entries) << verify.out;
    EXPECT_EQ(report["current_entries"], u.entries) << verify.out;
    EXPECT_TRUE(report["missing"].empty() && report["added"].empty()) << verify.out;
  }
  const ProcessResult summary = Cli("verify kim");
  EXPECT_EQ(SplitText(summary.out).at(0), "백업의 일정 : 1200건");
  const ProcessResult wrong = Cli("verify lee --password-stdin", "wrong\n");
  EXPECT_EQ(wrong.status, 1);
  EXPECT_EQ(wrong.err, std::string(texts::kWrongPassword) + "\n");
  // An entry lost from the merged file fails the command.
  const std::string merged = NativeOf("users/kim/schedules/schedules.qbsd");
  Lines lines = SplitText(InstallationBuilder::ReadNative(merged));
  lines.erase(lines.begin() + 3);
  InstallationBuilder::WriteNative(merged, JoinLines(lines));
  const ProcessResult lost = Cli("verify kim");
  EXPECT_EQ(lost.status, 1) << lost.out;
  const ProcessResult no_backup = Cli("verify park");
  EXPECT_EQ(no_backup.status, 3);
  EXPECT_EQ(no_backup.err.rfind("비교할 백업이 없습니다: ", 0), 0u) << no_backup.err;
  fs::remove(NativeOf("users/kim/schedules/schedules.qbsd"));
  const ProcessResult unreadable = Cli("verify kim");
  EXPECT_EQ(unreadable.status, 3);
  EXPECT_NE(unreadable.err.find("Cannot open file "), std::string::npos) << unreadable.err;
}

// An office's upgrade of every user in one run, as a deployment script runs
// it: each user as their own upgrade would go, the others refused with
// nothing of theirs touched, one JSON document that names every user, and
// the other commands' documents over the same users.
TEST_F(CliTest, AnOfficeUpgradesEveryUserInOneRunAndAnswersInJson) {
  AddUsers({UserSpec{"plain", "10100", "", 1, 1, 1}, UserSpec{"enc", "10200", "pw", 1, 1, 1},
            UserSpec{"nopw", "10000", "secret", 1, 1, 1},
            UserSpec{"latest", "10300", "pw", 0, 1, 0}, UserSpec{"ro", "10200", "", 1, 1, 1}});
  fs::permissions(NativeOf("users/ro/schedules/198001.qbsd"), fs::perms::owner_write,
                  fs::perm_options::remove);
  const std::string single = platform.temp_dir() + "/single";
  fs::copy(builder.root(), single, fs::copy_options::recursive);
  ASSERT_EQ(RunCli(platform.temp_dir(), "--app-dir '" + single + "' upgrade plain").status, 0);
  ASSERT_EQ(
      RunCli(platform.temp_dir(), "--app-dir '" + single + "' upgrade enc --password-stdin", "pw\n")
          .status,
      0);
  const auto before = SnapshotTree(builder.root() + "/users");
  const auto folder = [](const std::string& root, const char* name) {
    return SnapshotTree(root + "/users/" + name);
  };
  std::map<std::string, testing::NativeTree> untouched;
  for (const char* name : {"nopw", "latest", "ro"}) untouched[name] = folder(builder.root(), name);
  const auto document = [&](const std::string& args, const std::string& input, int status) {
    const ProcessResult run = Cli(args + " --json", input);
    EXPECT_EQ(run.status, status) << args << run.err;
    EXPECT_TRUE(std::all_of(run.out.begin(), run.out.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x80;
    })) << args;
    const auto parsed = nlohmann::json::parse(run.out, nullptr, false);
    EXPECT_FALSE(parsed.is_discarded()) << args << ": " << run.out;
    EXPECT_EQ(parsed.value("exit_status", -1), status) << args;
    return parsed;
  };
  // check changes nothing, and finds the read-only month.
  const auto checked = document("check --all --password-stdin", "enc\tpw\n", 1);
  EXPECT_EQ(checked["users"][4]["reason"], "read_only");
  EXPECT_TRUE(SnapshotTree(builder.root() + "/users") == before);

  // The passwords as Notepad saves them: a byte-order mark, CR LF. The user
  // already at the latest version needs none to be told so.
  const auto upgraded = document("upgrade --all --yes --password-stdin",
                                 "\xEF\xBB\xBF"
                                 "enc\tpw\r\n",
                                 1);
  const struct {
    const char* name;
    const char* outcome;
    nlohmann::json reason;
    const char* after;
  } expected[] = {{"plain", "done", nullptr, "1.03"},
                  {"enc", "done", nullptr, "1.03"},
                  {"nopw", "refused", "password_needed", "1.00"},
                  {"latest", "refused", "already_latest", "1.03"},
                  {"ro", "refused", "read_only", "1.02"}};
  ASSERT_EQ(upgraded["users"].size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const auto& user = upgraded["users"][i];
    const auto& e = expected[i];
    EXPECT_EQ(user["name"], e.name);
    EXPECT_EQ(user["outcome"], e.outcome) << e.name;
    EXPECT_EQ(user["reason"], e.reason) << e.name;
    EXPECT_EQ(user["version_after"], e.after) << e.name;
    if (user["outcome"] == "done") {
      // Byte for byte as that user's own upgrade, with a record of its run.
      EXPECT_TRUE(folder(builder.root(), e.name) == folder(single, e.name)) << e.name;
      ASSERT_TRUE(user["record"].is_string()) << e.name;
      EXPECT_TRUE(fs::exists(NativePathFromTool(Path(user["record"].get<std::string>()))))
          << e.name;
    } else {
      EXPECT_TRUE(folder(builder.root(), e.name) == untouched[e.name]) << e.name;
      EXPECT_TRUE(user["record"].is_null()) << e.name;
    }
  }
  // The users never upgraded have no backup to compare: verify stops for them.
  const auto verified = document("verify --all --password-stdin", "enc\tpw\n", 3);
  EXPECT_EQ(verified["users"][1]["report"]["accounted_for"], true);
  EXPECT_EQ(verified["users"][2]["reason"], "password_needed");
  EXPECT_EQ(verified["users"][4]["reason"], "no_backup");
  const auto listed = document("list", "", 0);
  EXPECT_EQ(listed["users"][0]["version_before"], "1.03");
  const auto restored = document("restore plain --yes", "", 0);
  EXPECT_EQ(restored["users"][0]["version_after"], "1.01");
  EXPECT_TRUE(restored["users"][0]["record"].is_string());
}

}  // namespace
}  // namespace dayledger
