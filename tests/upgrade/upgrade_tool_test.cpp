// The core's verbs through the window flow: the list, the user, the start
// checks, the backup and the stages.
#include "upgrade/upgrade_tool.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "digest/sha1.h"
#include "floor/words.h"
#include "platform/cp949_codec.h"
#include "platform/framework_error.h"
#include "platform/native_path.h"
#include "platform/path.h"
#include "platform/system_reason.h"
#include "schedule/schedule_cipher.h"
#include "state/line_file.h"
#include "support/native_files.h"
#include "support/opened_installation.h"
#include "support/upgrade_fixture.h"
#include "texts/texts.h"
#include "verify/verify.h"

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using demo::InstallationBuilder;
using demo::UserSpec;
using Lines = std::vector<std::string>;

const std::string kProfileBody = "\r\nname\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";

// A one-line schedule text as the unlocked user writes it, and as the key
// (text) enciphers it.
std::string Enciphered(const UnlockedUser& user) { return user.Encode(LineList(Lines{"x"})); }
std::string EncipheredWith(const std::string& key) {
  return Encipher("x\r\n", MakeScheduleKey(key));
}

class UpgradeToolTest : public testing::UpgradeFixture {
 protected:
  // The user as the start checks unlock it with the password typed.
  Result<UnlockedUser> Unlocked(const std::string& name, const std::string& password) {
    const Path folder = installation.UserFolder(name);
    return UnlockedUser::Unlock(Profile::Read(platform, folder), name, folder,
                                Utf8ToCp949Text(password));
  }
  void WriteProfile(const std::string& user, const std::string& bytes) {
    Write("users/" + user + "/profile.qbd", bytes);
  }
  // A profile with the given version, digest and encryption lines.
  static std::string Profile(const std::string& version, const std::string& digest = "",
                             const std::string& flag = "0") {
    return "#profile data#\r\n" + version + kProfileBody + digest + "\r\n" + flag + "\r\nmore\r\n";
  }
  std::string FormCreateError() {
    flow();
    return opened.error.detail;
  }
};

TEST_F(UpgradeToolTest, MissingUserListKeepsTheDesignTexts) {
  EXPECT_EQ(FormCreateError(), "");
  EXPECT_EQ(Messages(), Lines{"information:사용자 정보를 찾을 수 없습니다.\n찾아본 위치 : " +
                              builder.AppDir().text() + "users\\userlist.kvd" +
                              "\n이 프로그램은 Dayledger가 설치된 폴더에 두고 실행해야 합니다."});
  EXPECT_EQ(platform.messages[0].caption, texts::kApplicationTitle);
  EXPECT_TRUE(port.users.empty());
  EXPECT_EQ(port.user_label, "(사용자명)");
  EXPECT_EQ(port.encryption_label, "(암호화)");
  EXPECT_EQ(port.version_label, "(데이터 버전)");
  EXPECT_TRUE(port.password_enabled);
}

// A list that is there but cannot be opened (the scheduler holding it) is
// named with the system's reason, never taken for a missing one.
TEST_F(UpgradeToolTest, AUserListThatCannotBeOpenedIsNotTakenForMissing) {
  AddUsers({UserSpec{"u", "10200", "", 0, 0, 0}});
  platform.fail_read_path = NativeOf("users/userlist.kvd");
  EXPECT_EQ(FormCreateError(),
            "Cannot open file " + builder.AppDir().text() + "\\users\\userlist.kvd");
  EXPECT_NE(Messages().at(0).find(testing::ReasonShown(EIO)), std::string::npos);
}

TEST_F(UpgradeToolTest, UserListCounts) {
  const struct {
    std::string list;
    Lines users;
    std::string error;
  } cases[] = {
      {"0\r\na\r\n", {}, ""},
      {"2\r\na\r\nb\r\nc\r\n", {"a", "b"}, ""},
      {"two\r\na\r\nb\r\n", {}, "'two' is not a valid integer value"},
      {"3\r\na\r\nb\r\n", {"a", "b"}, "List index out of bounds (3)"},
      {"", {}, "List index out of bounds (0)"},
  };
  for (const auto& c : cases) {
    testing::TestPlatform local;
    testing::HeadlessView local_port;
    InstallationBuilder local_builder(local.temp_dir());
    InstallationBuilder::WriteNative(local.temp_dir() + "/users/userlist.kvd", c.list);
    for (const char* user : {"a", "b", "c"}) {
      InstallationBuilder::WriteNative(local.temp_dir() + "/users/" + user + "/profile.qbd",
                                       Profile("10100"));
    }
    Installation local_installation = testing::OpenedOn(local, local_builder.AppDir());
    WindowFlow local_flow(local_installation, local_port, local);
    const Reply opened_here = local_flow.Open();
    const std::string error = opened_here.error.detail;
    EXPECT_EQ(error, c.error) << c.list;
    EXPECT_EQ(local_port.users, c.users) << c.list;
    if (c.error.empty()) {
      EXPECT_EQ(local_port.selected, c.users.empty() ? -1 : 0);
      EXPECT_EQ(local_port.user_label, c.users.empty() ? "" : "a");
      EXPECT_EQ(local_port.password_enabled, false);
    } else {
      EXPECT_EQ(local_port.selected, -1) << "nothing is selected after an error";
      EXPECT_EQ(opened_here.error.path.text(),
                local_builder.AppDir().text() + "\\users\\userlist.kvd")
          << "the error names the file it came from";
    }
  }
}

TEST_F(UpgradeToolTest, VersionAndEncryptionDisplay) {
  const struct {
    std::string version;
    std::string flag;
    std::string shown;
    bool encrypted;
  } cases[] = {
      {"10200", "1", "v 1.02.00", true},   {"10000", "0", "v 1.00.00", false},
      {"102", "1", "v 1.02.", true},       {"1", "1", "v 1..", true},
      {"10300", " 1", "v 1.03.00", false}, {"10300", "yes", "v 1.03.00", false},
      {"10300", "", "v 1.03.00", false},   {"10300", "11", "v 1.03.00", false},
  };
  AddUsers({UserSpec{"u", "10000"}});
  for (const auto& c : cases) {
    WriteProfile("u", Profile(c.version, "", c.flag));
    Select("u");
    EXPECT_EQ(port.version_label, c.shown) << c.version;
    EXPECT_EQ(port.encryption_label, c.encrypted ? "사용" : "사용안함") << c.flag;
    EXPECT_EQ(port.password_enabled, c.encrypted) << c.flag;
  }
  // Nobody selected (a click below the last row): every label empty.
  port.selected = -1;
  flow().UserClicked();
  EXPECT_EQ(port.user_label + port.encryption_label + port.version_label, "");
  EXPECT_FALSE(port.password_enabled);
}

TEST_F(UpgradeToolTest, DamagedProfileAfterAnEncryptedUserKeepsItsDisplay) {
  AddUsers({UserSpec{"enc", "10100", "pw"}, UserSpec{"bad", "10100"}});
  WriteProfile("bad", "#profile data\r\n10100\r\n");
  Select("enc");
  Select("bad");
  EXPECT_EQ(Messages(), Lines{"error:사용자 프로파일이 손상되었습니다."});
  EXPECT_EQ(platform.messages.back().behind, "bad") << "the box opens over the new user";
  EXPECT_EQ(port.user_label, "bad");
  EXPECT_EQ(port.encryption_label, "사용");
  EXPECT_TRUE(port.password_enabled);
}

TEST_F(UpgradeToolTest, ProfileTooShortStopsAtTheLineItNeeds) {
  AddUsers({UserSpec{"u", "10100"}});
  const struct {
    std::string profile;
    std::string error;
    std::string version_label;
  } cases[] = {
      {"", "List index out of bounds (0)", "v 1.01.00"},
      {"#profile data#\r\n", "List index out of bounds (1)", "v 1.01.00"},
      {"#profile data#\r\n10200\r\n", "List index out of bounds (9)", "v 1.02.00"},
  };
  Select("u");
  for (const auto& c : cases) {
    WriteProfile("u", c.profile);
    const Reply shown = flow().UserClicked();
    ASSERT_FALSE(shown.error.ok()) << c.error;
    EXPECT_EQ(shown.error.detail, c.error);
    EXPECT_EQ(port.version_label, c.version_label);
  }
  fs::remove(NativeOf("users/u/profile.qbd"));
  const Reply shown = flow().UserClicked();
  ASSERT_FALSE(shown.error.ok());
  EXPECT_EQ(shown.error.detail,
            "Cannot open file " + builder.AppDir().text() + "\\users\\u\\profile.qbd");
}

TEST_F(UpgradeToolTest, KoreanUserNameIsShownAndItsProfileRead) {
  AddUsers({UserSpec{"홍길동", "10200", "비밀번호"}});
  flow();
  EXPECT_EQ(port.users, Lines{"홍길동"});
  EXPECT_EQ(port.user_label, "홍길동");
  EXPECT_EQ(port.version_label, "v 1.02.00") << "read from the Korean-named folder";
}

TEST_F(UpgradeToolTest, NamesLeadingOutsideUsersAreNeverUsedAsPaths) {
  AddUsers({UserSpec{"good", "10100"}});
  // Profiles that the unsafe names would reach.
  Write("profile.qbd", Profile("10000"));
  Write("users/x/profile.qbd", Profile("10000"));
  const std::string damaged = "error:사용자 프로파일이 손상되었습니다.";
  const auto unsafe = [](const std::string& name) {
    return "error:" + (texts::kUnsafeUserName + name);
  };
  // Names Windows cannot keep apart from another, and the tool's own
  // folder's, are refused for what they are; each has a profile to reach.
  const std::vector<std::pair<std::string, std::string>> names = {
      {"..", damaged},          {"..\\users\\x", damaged},      {"x/../x", damaged},
      {"c:x", damaged},         {"x.", unsafe("x.")},           {"x ", unsafe("x ")},
      {"CON", unsafe("CON")},   {"nul.txt", unsafe("nul.txt")}, {"com1", unsafe("com1")},
      {".DLU", unsafe(".DLU")}, {"a|b", unsafe("a|b")},
  };
  std::string list = std::to_string(names.size() + 1) + "\r\ngood\r\n";
  for (const auto& [name, words] : names) {
    list += name + "\r\n";
    if (name.find_first_of("/\\:") == std::string::npos)
      Write("users/" + name + "/profile.qbd", Profile("10000"));
  }
  Write("users/userlist.kvd", list);
  for (int index = 1; index <= static_cast<int>(names.size()); ++index) {
    const std::string& words = names[static_cast<size_t>(index - 1)].second;
    Select("good");
    platform.messages.clear();
    port.selected = index;
    flow().UserClicked();
    EXPECT_EQ(Messages(), Lines{words}) << port.users[index];
    EXPECT_EQ(port.version_label, "v 1.01.00") << "nothing was read for " << port.users[index];
    platform.messages.clear();
    flow().StartClicked();
    EXPECT_EQ(Messages(), Lines{words});
    EXPECT_FALSE(port.backup_timer);
  }
  EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup"))) << "nothing made for an unsafe name";
}

TEST_F(UpgradeToolTest, LogLinesAreStampedWithTheTimeTheyAreWritten) {
  AddUsers({UserSpec{"u", "10100"}});
  Select("u");
  platform.now = {2026, 1, 2, 9, 5, 3};
  flow().StartClicked();
  platform.now = {2026, 1, 2, 23, 59, 0};
  flow().BackupTick();
  EXPECT_EQ(port.log,
            (Lines{"[09:05:03]사용자 정보 업그레이드를 시작합니다.",
                   "[09:05:03]기존 파일들을 백업중입니다.", "[23:59:00]기존 파일들 백업 완료."}));
}

TEST_F(UpgradeToolTest, StartChecksRefuseWithTheirMessages) {
  AddUsers({UserSpec{"latest", "10300"}, UserSpec{"odd", "10250"}, UserSpec{"u", "10100"},
            UserSpec{"ro", "10100"}});
  const struct {
    std::string user;  // empty: nothing selected
    bool skip_backup;
    std::string message;
    std::string undeletable_file = {};
  } cases[] = {
      {"", false, "information:업그레이드할 사용자를 선택해 주세요."},
      {"latest", true, "information:해당 사용자 데이터 버전은 이미 최신 버전입니다."},
      {"odd", false, "information:지원하지 않는 데이터 버전입니다."},
      {"odd", true, "information:지원하지 않는 데이터 버전입니다."},
      {"ro", false,
       "error:" + std::string(texts::kFileNotDeletable) +
           ToolPathFromNative(NativeOf("users/ro/group.qbd")).text(),
       NativeOf("users/ro/group.qbd")},
  };
  for (const auto& c : cases) {
    if (c.user.empty()) {
      flow();
      port.selected = -1;
    } else {
      Select(c.user);
    }
    port.skip_backup = c.skip_backup;
    platform.undeletable_file = c.undeletable_file;
    platform.messages.clear();
    flow().StartClicked();
    EXPECT_FALSE(port.backup_timer);
    EXPECT_EQ(Messages(), Lines{c.message}) << c.user;
    EXPECT_TRUE(port.log.empty());
    EXPECT_TRUE(port.input_enabled);
    EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup")));
  }
}

// The start's questions, each asked once, in order; a No to either leaves
// everything as it was, with no log and no record. Enter alone answers No
// for the other PCs.
TEST_F(UpgradeToolTest, StartQuestionsAnsweredNoDoNothing) {
  const std::string other_pcs = std::string("question, no by default:") + texts::kOtherPcsQuestion;
  const std::string skip = std::string("question:") + texts::kSkipBackupQuestion;
  const std::string done = std::string("information:") + texts::kUpgradeDone;
  const struct {
    const char* name;
    bool network_drive;
    bool skip_backup;
    std::deque<int> answers;
    Lines messages;
  } cases[] = {
      {"skip, no", false, true, {kIdNo}, {skip}},
      {"network drive, no", true, false, {kIdNo}, {other_pcs}},
      {"skip, yes; network drive, no", true, true, {kIdYes, kIdNo}, {skip, other_pcs}},
      {"network drive, yes", true, false, {kIdYes}, {other_pcs, done}},
  };
  for (const auto& c : cases) {
    AddUsers({UserSpec{"u", "10100", "", 1, 1, 1}});
    fs::remove_all(NativeOf("upgrade_backup"));
    ResetFlow();
    port.log.clear();
    platform.messages.clear();
    platform.network_drive = c.network_drive;
    port.skip_backup = c.skip_backup;
    platform.answers = c.answers;
    const bool upgraded = c.messages.back() == done;
    EXPECT_EQ(Upgrade("u"), upgraded ? Outcome::kDone : Outcome::kRefused) << c.name;
    EXPECT_EQ(Messages(), c.messages) << c.name;
    if (upgraded) continue;
    EXPECT_TRUE(port.log.empty()) << c.name;
    EXPECT_TRUE(port.input_enabled) << c.name;
    EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup"))) << c.name;
  }
}

// Windows: a standard user's "Run as administrator", typed with another
// account's password, runs as that account. Refused before anything, in
// words naming both accounts.
TEST_F(UpgradeToolTest, AnotherAccountThanTheDesktopsIsRefused) {
  AddUsers({UserSpec{"u", "10100", "", 1, 1, 1}});
  platform.other_account = OtherAccount{true, "PC\\관리자", "PC\\김철수"};
  const auto before = testing::SnapshotTree(builder.root());
  EXPECT_EQ(Upgrade("u"), Outcome::kRefused);
  EXPECT_EQ(Messages(),
            Lines{"error:이 프로그램은 'PC\\관리자' 계정으로 실행되었지만 바탕 화면은 'PC\\김철수' "
                  "계정의 것이어서 아무것도 바꾸지 않았습니다. 'PC\\김철수' 사용자의 Dayledger "
                  "데이터는 그 사용자의 계정에 있습니다. '관리자 권한으로 실행'을 쓰지 말고 이 "
                  "프로그램을 다시 실행해 주십시오."});
  EXPECT_TRUE(testing::SnapshotTree(builder.root()) == before);
  EXPECT_TRUE(port.log.empty());
}

TEST_F(UpgradeToolTest, PasswordCheckAndDataKey) {
  const std::string digest = InstallationBuilder::PasswordDigestFor("비밀번호");
  std::string upper = digest;
  for (char& c : upper) c = static_cast<char>(toupper(c));
  AddUsers({UserSpec{"enc", "10100", "비밀번호"}, UserSpec{"upper", "10100"}});
  WriteProfile("upper", Profile("10100", upper, "1"));

  for (const auto& [user, password] :
       {std::pair{"enc", "wrong"}, std::pair{"enc", "비밀번호 "}, std::pair{"upper", "비밀번호"}}) {
    platform.messages.clear();
    port.password_focused = false;
    EXPECT_EQ(Upgrade(user, password), Outcome::kRefused);
    EXPECT_EQ(Messages(), Lines{"error:비밀번호가 틀렸습니다."});
    EXPECT_TRUE(port.password_focused);
    EXPECT_EQ(Unlocked(user, password).kind(), StatusKind::kWrongPassword)
        << user << " unlocked by " << password;
    EXPECT_TRUE(port.log.empty());
  }
  Select("enc");
  port.password = "비밀번호";
  flow().StartClicked();
  // The key is the four-fold digest, whose own digest the profile holds.
  const std::string key = InstallationBuilder::DataKeyFor("비밀번호");
  EXPECT_EQ(HexDigest(key), digest);
  EXPECT_EQ(Enciphered(*Unlocked("enc", "비밀번호")), EncipheredWith(key));
  EXPECT_EQ(LogTexts(),
            (Lines{"사용자 정보 업그레이드를 시작합니다.", "기존 파일들을 백업중입니다."}));
  EXPECT_FALSE(port.input_enabled);
  EXPECT_TRUE(port.backup_timer);
  EXPECT_TRUE(fs::is_directory(NativeOf("upgrade_backup/enc")));
  EXPECT_TRUE(fs::is_empty(NativeOf("upgrade_backup/enc")));
}

TEST_F(UpgradeToolTest, LongPasswordsAreHashedWhole) {
  const std::string long_password(60, 'p');
  AddUsers({UserSpec{"enc", "10100", long_password}});
  Select("enc");
  port.password = std::string(40, 'p');
  flow().StartClicked();
  EXPECT_EQ(Messages(), Lines{"error:비밀번호가 틀렸습니다."})
      << "the first 40 bytes are not enough";
  port.password = long_password;
  flow().StartClicked();
  EXPECT_TRUE(port.backup_timer);
  EXPECT_EQ(Enciphered(*Unlocked("enc", long_password)),
            EncipheredWith(IteratedHexDigest(long_password, 4)));
}

TEST_F(UpgradeToolTest, UnencryptedUserStartsWhateverThePasswordBoxHolds) {
  AddUsers({UserSpec{"plain", "10200"}});
  EXPECT_EQ(Upgrade("plain", "anything"), Outcome::kDone);
  EXPECT_FALSE(Unlocked("plain", "anything")->encrypted());
  EXPECT_EQ(Enciphered(*Unlocked("plain", "anything")), "x\r\n") << "plain text, no key";
}

TEST_F(UpgradeToolTest, BackupIsTakenOrSkippedAtTheTick) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  Select("u");
  flow().StartClicked();
  port.skip_backup = true;  // checked between the click and the tick
  flow().BackupTick();
  EXPECT_EQ(LogTexts().back(), "데이터 백업 건너뛰기가 설정된 상태입니다. 백업 과정을 건너뜁니다.");
  EXPECT_TRUE(fs::is_empty(NativeOf("upgrade_backup/u")));
  EXPECT_TRUE(port.driver_timer);
  EXPECT_FALSE(port.backup_timer);
  EXPECT_TRUE(platform.messages.empty()) << "no question at the tick";

  port.skip_backup = false;
  const std::string profile = Read("users/u/profile.qbd");
  flow().BackupTick();
  EXPECT_EQ(LogTexts().back(), "기존 파일들 백업 완료.");
  EXPECT_EQ(Read("upgrade_backup/u/profile.qbd"), profile);
  EXPECT_TRUE(fs::exists(NativeOf("upgrade_backup/u/schedules/202912.qbsd")));
  EXPECT_TRUE(fs::exists(NativeOf("upgrade_backup/u/groups/group1.qbd")));
}

TEST_F(UpgradeToolTest, FailedBackupStopsBeforeAnyDataFile) {
  const std::string folder = builder.AppDir().text() + "upgrade_backup\\u";
  const std::string full = texts::kBackupDiskFull + folder;
  const std::string group = folder + "\\group.qbd";
  const struct {
    std::string name;
    bool listing_fails;  // else the disk fails below the backup's schedules,
                         // or at its group file for an I/O error
    StatusKind write_error;
    bool earlier_backup;
    std::string message;
    std::string kept = {};  // a file of the half copy that cannot be deleted
  } cases[] = {
      // Skipping the backup would not help: the upgrade reads the same files.
      {"unreadable folder", true, StatusKind::kWriteFailed, false,
       texts::kBackupReadFailed + (builder.AppDir() / "users" / "u").Normal().text() +
           testing::ReasonShown(EIO)},
      // A failing disk: the file and the system's reason and code.
      {"I/O error", false, StatusKind::kWriteFailed, false,
       texts::kBackupFailed + testing::FileShown(group) + testing::ReasonShown(EIO)},
      // The half copy, made beside the earlier backup, is taken away again.
      {"disk full", false, StatusKind::kNoSpace, false,
       full + texts::kPartialBackupRemoved + testing::ReasonShown(ENOSPC)},
      {"disk full over an earlier backup", false, StatusKind::kNoSpace, true,
       full + texts::kPartialBackupRemoved + testing::ReasonShown(ENOSPC)},
      // A half copy that stays is named, never said to be gone.
      {"I/O error, half copy kept", false, StatusKind::kWriteFailed, true,
       texts::kBackupFailed + testing::FileShown(folder + "\\profile.qbd") +
           texts::kPartialBackupKept + builder.AppDir().text() + "upgrade_backup\\.dlu\\new\\u" +
           testing::ReasonShown(EIO),
       "upgrade_backup/.dlu/new/u/group.qbd"},
  };
  for (const auto& c : cases) {
    AddUsers({UserSpec{"u", "10100", "", 1, 1, 1}});
    fs::remove_all(NativeOf("upgrade_backup"));
    if (c.earlier_backup) Write("upgrade_backup/u/profile.qbd", "earlier");
    const auto users = testing::SnapshotTree(NativeOf("users"));
    platform.messages.clear();
    platform.fail_folder_listing = c.listing_fails;
    const bool full_disk = c.write_error == StatusKind::kNoSpace;
    // The new copy is made beside the backup, and named as the backup's.
    platform.fail_writes_in_folder =
        full_disk ? NativeOf("upgrade_backup/.dlu/new/u/schedules") : "";
    platform.fail_write_path = c.listing_fails || full_disk ? ""
                               : c.kept.empty() ? NativeOf("upgrade_backup/.dlu/new/u/group.qbd")
                                                : NativeOf("upgrade_backup/.dlu/new/u/profile.qbd");
    platform.undeletable_file = c.kept.empty() ? "" : NativeOf(c.kept);
    platform.fail_write_error = c.write_error;
    EXPECT_EQ(Upgrade("u"), Outcome::kStopped) << c.name;
    EXPECT_EQ(Messages(), Lines{"error:" + c.message + RecordNamed()}) << c.name;
    // The record holds the error with its reason, and how the run ended.
    const std::string record = Read("upgrade_backup/.dlu/logs/u/20261207-140509.txt");
    EXPECT_NE(record.find(c.message.substr(0, c.message.find('\n'))), std::string::npos) << c.name;
    EXPECT_NE(record.find("결과 : 중단 (종료 코드 3)\r\n"), std::string::npos) << c.name;
    for (size_t at = record.find('\n'); at != std::string::npos; at = record.find('\n', at + 1)) {
      EXPECT_EQ(record[at - 1], '\r') << c.name << ": a bare line feed at " << at;
    }
    EXPECT_FALSE(port.input_enabled);
    EXPECT_FALSE(port.driver_timer);
    EXPECT_TRUE(testing::SnapshotTree(NativeOf("users")) == users) << c.name;
    // Only the earlier backup's one file, or the empty folder of the start.
    EXPECT_EQ(testing::SnapshotTree(NativeOf("upgrade_backup/u")).size(),
              c.earlier_backup ? 1u : 0u)
        << c.name;
    EXPECT_EQ(fs::exists(NativeOf("upgrade_backup/.dlu/new/u")), !c.kept.empty()) << c.name;
    fs::remove_all(NativeOf("upgrade_backup/.dlu/new/u"));
    if (c.earlier_backup) {
      EXPECT_EQ(Read("upgrade_backup/u/profile.qbd"), "earlier") << c.name;
    }
    fs::remove_all(NativeOf("upgrade_backup/.dlu/logs/u"));
    ResetFlow();
  }
}

// The room the run needs is worked out before anything: too little is
// refused, naming both figures; the figure it names is enough.
TEST_F(UpgradeToolTest, TooLittleRoomIsRefusedAndEnoughIsNot) {
  AddUsers({UserSpec{"u", "10100", "", 3, 2, 1}});
  // The user's data, and the same with each file in whole 4 KB clusters.
  double data = 0;
  double clustered = 0;
  for (const auto& entry : fs::recursive_directory_iterator(NativeOf("users/u"))) {
    if (!entry.is_regular_file()) continue;
    data += static_cast<double>(entry.file_size());
    clustered += static_cast<double>((entry.file_size() + 4095) / 4096 * 4096);
  }
  platform.free_bytes = 0;
  EXPECT_EQ(Upgrade("u"), Outcome::kRefused);
  ASSERT_EQ(platform.messages.size(), 1u);
  const std::string& text = platform.messages[0].text;
  const std::string prefix = texts::DiskTooFull("", "", "").substr(0, 60);
  EXPECT_EQ(text.substr(0, prefix.size()), prefix);
  EXPECT_TRUE(text.ends_with(" MB, 남은 공간 : 0.0 MB (" + builder.AppDir().Normal().text() + ")"))
      << text;
  EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup")));
  // The figure, in megabytes to a tenth: the backup file by file, and the
  // new files (the merged months as one) with the templates and the journal.
  const size_t at = text.find("필요한 공간 : ") + std::string("필요한 공간 : ").size();
  const double needed = std::stod(text.substr(at)) * 1024 * 1024;
  EXPECT_GE(needed, clustered + data);
  EXPECT_LE(needed, 2 * clustered + 1024 * 1024);

  platform.messages.clear();
  ResetFlow();
  platform.free_bytes = static_cast<std::uint64_t>(needed) + 1;
  EXPECT_EQ(Upgrade("u"), Outcome::kDone) << Messages().front();
}

TEST_F(UpgradeToolTest, CompletedRunWritesOnlyTheVersionLine) {
  AddUsers({UserSpec{"u", "10100", "pw", 1, 1, 1}});
  const Lines before = SplitLines(Read("users/u/profile.qbd"));
  ASSERT_EQ(Upgrade("u", "pw"), Outcome::kDone);
  Lines expected = before;
  expected[1] = "10300";
  EXPECT_EQ(Read("users/u/profile.qbd"), JoinLines(expected));
  EXPECT_EQ(Messages(), Lines{"information:사용자 정보 업그레이드가 완료되었습니다!"});
  EXPECT_TRUE(port.input_enabled);
  EXPECT_EQ(port.version_label, "v 1.03.00");
}

TEST_F(UpgradeToolTest, TheWindowCatchesUpAfterEachStepSlotOnly) {
  AddUsers({UserSpec{"u", "10000", "", 1, 1, 1}});
  Select("u");
  port.skip_backup = true;
  flow().StartClicked();
  flow().BackupTick();
  // The ticks in their order: the profile read, the three schedule steps,
  // the anniversary detection, the three anniversary steps, the profile
  // saved; each tick's work ends the log as it stands after the tick.
  const struct {
    const char* stage;
    int calls;
    const char* last_line;
  } ticks[] = {{"read profile", 0, "* 업그레이드 버전 : v 1.03.00"},
               {"schedules", 3, "일정 데이터 업그레이드 전체 완료."},
               {"anniversary detection", 0, "* 업그레이드 버전 : v 1.03.00"},
               {"anniversaries", 3, "기념일 데이터 업그레이드 전체 완료."},
               {"save profile", 0, "업그레이드 완료!"}};
  Reply last;
  for (const auto& t : ticks) {
    ASSERT_FALSE(last.finished) << t.stage;
    const int before = port.process_messages_calls;
    last = flow().StageTick();
    EXPECT_EQ(port.process_messages_calls - before, t.calls) << t.stage;
    EXPECT_EQ(LogTexts().back(), t.last_line) << t.stage;
  }
  EXPECT_TRUE(last.finished);
}

TEST_F(UpgradeToolTest, SecondUpgradeAppendsToTheLog) {
  AddUsers({UserSpec{"a", "10200", "", 1, 0, 0}, UserSpec{"b", "10200", "", 1, 0, 0}});
  ASSERT_EQ(Upgrade("a"), Outcome::kDone);
  const size_t first_run = port.log.size();
  ASSERT_EQ(Upgrade("b"), Outcome::kDone);
  EXPECT_EQ(port.log.size(), 2 * first_run);
  EXPECT_EQ(LogTexts()[first_run], "사용자 정보 업그레이드를 시작합니다.");
}

TEST_F(UpgradeToolTest, MissingFileStopsTheUpgradeAndKeepsTheOldVersion) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  const std::string group = Read("users/u/group.qbd");
  fs::remove(NativeOf("users/u/group.qbd"));
  EXPECT_EQ(Upgrade("u"), Outcome::kStopped);
  EXPECT_EQ(Messages(),
            Lines{"error:Cannot open file " + builder.AppDir().text() + "\\users\\u\\group.qbd." +
                  testing::ReasonShown(ENOENT) + RecordNamed()});
  EXPECT_EQ(SplitLines(Read("users/u/profile.qbd")).at(1), "10200");
  EXPECT_FALSE(port.input_enabled);
  EXPECT_FALSE(port.driver_timer);
  // The stopped run let the user go: the file put back, the same window
  // starts them again.
  Write("users/u/group.qbd", group);
  EXPECT_EQ(Upgrade("u"), Outcome::kDone);
}

TEST_F(UpgradeToolTest, ProfileChangedToAnUnknownVersionAfterTheClickStops) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  Select("u");
  flow().StartClicked();
  flow().BackupTick();
  WriteProfile("u", Profile("99999"));
  EXPECT_EQ(flow().StageTick().outcome, Outcome::kStopped);
  EXPECT_EQ(Messages().back(),
            "error:지원하지 않는 데이터 버전입니다." +
                testing::FileShown(builder.AppDir().text() + "\\users\\u\\profile.qbd") +
                RecordNamed());
  EXPECT_FALSE(port.driver_timer);
  EXPECT_EQ(SplitLines(Read("users/u/profile.qbd")).at(1), "99999");
}

// Between the window's selection and its start, the user reaches 1.03
// elsewhere: through the terminal program, or the tool on another PC of the
// office. The start decides on what it reads under the lock: refused with
// the words for such a user, nothing touched (the backup that holds the
// only old copy, the user's folder, the lock's folder), and the window
// shows the user as they now are.
TEST_F(UpgradeToolTest, UserUpgradedElsewhereAfterTheSelectionIsRefusedUnderTheLock) {
  const struct {
    const char* name;
    bool by_another_program;  // else the profile alone is rewritten
    bool as_the_lock_is_taken = false;
  } cases[] = {{"another program upgraded it", true},
               {"its profile says 1.03 now", false},
               {"its profile says 1.03 as the start takes the lock", false, true}};
  for (const auto& c : cases) {
    AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
    fs::remove_all(NativeOf("upgrade_backup"));
    ResetFlow();
    Select("u");
    ASSERT_EQ(port.version_label, "v 1.02.00");
    if (c.by_another_program) {
      testing::HeadlessView other_view;
      UpgradeTool other(installation, other_view);
      other.LoadUsers();
      other.ShowUser("u");
      BoxedNotices answered(installation.platform(), platform);
      ASSERT_EQ(RunUpgrade(other, StartRequest{"u", ""}, answered).outcome, Outcome::kDone);
    } else {
      WriteProfile("u", Profile("10300"));
    }
    const auto before = testing::SnapshotTree(NativeOf(""));
    if (c.as_the_lock_is_taken) {
      WriteProfile("u", Profile("10200"));
      platform.before_lock = [&] { WriteProfile("u", Profile("10300")); };
    }
    platform.messages.clear();
    port.log.clear();
    flow().StartClicked();
    EXPECT_EQ(Messages(), Lines{"information:해당 사용자 데이터 버전은 이미 최신 버전입니다."})
        << c.name;
    EXPECT_TRUE(testing::SnapshotTree(NativeOf("")) == before) << c.name << ": nothing touched";
    EXPECT_EQ(port.version_label, "v 1.03.00") << c.name;
    EXPECT_FALSE(port.backup_timer) << c.name;
    EXPECT_TRUE(port.log.empty()) << c.name;
    EXPECT_TRUE(port.input_enabled) << c.name;
  }
}

// A first run stops after its backup (the window closed); the user deletes
// a group in the scheduler and runs again. The new backup is the folder as
// the second run found it, never merged into the first one, and after the
// upgrade verify accounts for everything.
TEST_F(UpgradeToolTest, BackupOfASecondRunIsTheFolderAsThatRunFoundIt) {
  AddUsers({UserSpec{"u", "10200", "", 1, 2, 1}});
  Select("u");
  flow().StartClicked();
  flow().BackupTick();
  ResetFlow();
  fs::remove(NativeOf("users/u/groups/group1.qbd"));
  const auto found = testing::SnapshotTree(NativeOf("users/u"));
  ASSERT_EQ(Upgrade("u"), Outcome::kDone);
  EXPECT_TRUE(testing::SnapshotTree(NativeOf("upgrade_backup/u")) == found);
  VerifyReport report;
  EXPECT_EQ(Verify(installation, {"u", ""}, &report).outcome, Outcome::kDone);
  EXPECT_TRUE(report.accounted_for());
  EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup/.dlu/new/u")));
  EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup/.dlu-old-u")));
}

TEST(ErrorReportTest, ForeignErrorsAreReportedWithAnEmptyText) {
  testing::TestPlatform platform;
  EXPECT_EQ(RunReported(platform, platform, [] { throw std::runtime_error("foreign"); }).outcome,
            Outcome::kStopped);
  EXPECT_EQ(RunReported(platform, platform, [] {}).outcome, Outcome::kDone);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "");
  EXPECT_EQ(platform.messages[0].flags, 16);
  EXPECT_EQ(platform.messages[0].caption, texts::kApplicationTitle);
}

// The system's reasons as Windows gives them: its own words for a code, a
// scanner behind 225 and 226, and controlled folder access behind "not
// found" or "access denied" for a file under Documents.
class WindowsReasons : public PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  SystemReason Reason(int code, const Path& path) override {
    return {code, "text " + std::to_string(code),
            WindowsBlocker(code, true, path.text().find("\\Documents\\") != std::string::npos),
            kProgram};
  }
  static constexpr char kProgram[] = "C:\\Dayledger\\dayledger-upgrade-gui.exe";
};

// The report names the file, the system's reason and what stood behind it;
// each refusal of the tool's own has its own words.
TEST(ErrorReportTest, NamesTheFileTheSystemsReasonAndWhatStoodBehindIt) {
  testing::TestPlatform system;
  WindowsReasons platform(&system);
  const std::string file = "C:\\Dayledger\\users\\u\\group.qbd";
  const std::string guarded = "C:\\Users\\kim\\Documents\\Dayledger\\users\\u\\group.qbd";
  const Path file_path(file);
  const Path guarded_path(guarded);
  const struct {
    FrameworkError error;
    std::string shown;
  } cases[] = {
      {CannotOpenFile(file_path), "Cannot open file " + file + "."},
      {CannotOpenFile(file_path, 5), "Cannot open file " + file + ".\n(오류 5: text 5)"},
      {StreamWriteError(file_path, 112),
       "Stream write error.\n파일 : " + file + "\n(오류 112: text 112)"},
      {ListIndexOutOfBounds(1, file_path), "List index out of bounds (1)\n파일 : " + file},
      {CannotCreateFile(file_path, kWindowsVirusInfected), "Cannot create file " + file + ".\n" +
                                                               texts::kVirusScannerStopped + file +
                                                               "\n(오류 225: text 225)"},
      {CannotCreateFile(guarded_path, 2),
       "Cannot create file " + guarded + ".\n" +
           texts::ProtectedFolderRefused(WindowsReasons::kProgram) + "\n(오류 2: text 2)"},
      {CannotCreateFile(file_path, 2), "Cannot create file " + file + ".\n(오류 2: text 2)"},
      // Each refusal and stop of the tool's own in its own words.
      {FrameworkError(file, StatusKind::kHeld, file_path), texts::kFileInUse + file + "."},
      {FrameworkError(file, StatusKind::kReadOnly, file_path), texts::kReadOnlyFiles + file + "."},
      {FrameworkError(file, StatusKind::kDenied, file_path), texts::kFileNotDeletable + file + "."},
      {FrameworkError(file, StatusKind::kLinkRefused, file_path), texts::kLinkRefused + file + "."},
      {FrameworkError(file, StatusKind::kRecoveryHeld, file_path, 32),
       texts::kRecoveryHeld + file + ".\n(오류 32: text 32)"},
      {FrameworkError(file, StatusKind::kChangeLost, file_path), texts::kChangeLost + file + "."},
      {FrameworkError("Cannot rename file " + file, StatusKind::kChangeSavedUnfinished, file_path),
       texts::kChangeSavedUnfinished + ("Cannot rename file " + file + ".")},
  };
  for (const auto& c : cases) EXPECT_EQ(ReportedText(platform, c.error), c.shown) << c.shown;
}

}  // namespace
}  // namespace dayledger
