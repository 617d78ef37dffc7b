// The restore's own start and words: the question about the other PCs of a
// network drive, and a failed copy of the current folder named for what
// failed, a read or a create.
#include "restore/restore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/path.h"
#include "support/native_files.h"
#include "support/upgrade_fixture.h"
#include "texts/texts.h"

namespace dayledger {
namespace {

namespace fs = std::filesystem;
using RestoreTest = testing::UpgradeFixture;

TEST_F(RestoreTest, NetworkDriveIsAskedAboutAndFailedCopiesAreNamedForWhatFailed) {
  AddUsers({demo::UserSpec{"u", "10200", "", 1, 1, 1}});
  ASSERT_EQ(Upgrade("u"), Outcome::kDone);
  const Path user_dir = builder.AppDir() / "users" / "u";
  const struct {
    const char* name;
    bool network_drive;
    std::string unreadable;  // relative to the user's folder
    bool aside_unwritable;   // the copy kept aside cannot be made
    Outcome outcome;
    std::string words;  // the notice's beginning
  } cases[] = {
      {"network drive", true, "", false, Outcome::kAsk, texts::kOtherPcsQuestion},
      {"a read fails", false, "group.qbd", false, Outcome::kStopped,
       "Cannot open file " + (user_dir / "group.qbd").Normal().text() + "."},
      // The copy is made in a place of its own before it is kept.
      {"a create fails", false, "", true, Outcome::kStopped,
       "Cannot create file " + builder.AppDir().Normal().text() +
           "\\upgrade_backup\\.dlu\\keeping\\u\\"},
  };
  for (const auto& c : cases) {
    platform.network_drive = c.network_drive;
    platform.fail_read_path = c.unreadable.empty() ? "" : NativeOf("users/u/" + c.unreadable);
    RestorePlan plan;
    ASSERT_EQ(PlanRestore(installation, "u", &plan).outcome, Outcome::kDone) << c.name;
    platform.fail_writes_in_folder =
        c.aside_unwritable ? NativeOf("upgrade_backup/.dlu/keeping/u") : "";
    const auto before = testing::SnapshotTree(NativeOf("users/u"));
    std::vector<Path> undeleted;
    const Reply restored = Restore(installation, &plan, &undeleted);
    EXPECT_EQ(restored.outcome, c.outcome) << c.name;
    ASSERT_FALSE(restored.said.empty()) << c.name;
    const Notice shown = Worded(installation.platform(), restored.said.front());
    EXPECT_EQ(shown.text.rfind(c.words, 0), 0u) << c.name << ": " << shown.text;
    // A question, Enter answering No; or a stop with the system's reason.
    EXPECT_TRUE(c.outcome == Outcome::kAsk
                    ? shown.kind == NoticeKind::kQuestion && shown.no_by_default
                    : shown.text.find(testing::ReasonShown(EIO)) != std::string::npos)
        << c.name;
    EXPECT_TRUE(testing::SnapshotTree(NativeOf("users/u")) == before) << c.name << ": changed";
    EXPECT_FALSE(fs::exists(NativeOf("upgrade_backup/.dlu/keeping/u"))) << c.name << ": half copy";
  }
}

// Two restores planned in one second, each confirmed in turn: each keeps
// the folder it replaced at a name of its own, the name it shows; and a
// refusal under the lock leaves the installation as it was.
TEST_F(RestoreTest, EveryKeptCopyIsKeptAtTheNameItShows) {
  AddUsers({demo::UserSpec{"u", "10200", "", 1, 1, 1}});
  ASSERT_EQ(Upgrade("u"), Outcome::kDone);
  const auto upgraded = testing::SnapshotTree(NativeOf("users/u"));
  RestorePlan first, second;
  ASSERT_EQ(PlanRestore(installation, "u", &first).outcome, Outcome::kDone);
  ASSERT_EQ(PlanRestore(installation, "u", &second).outcome, Outcome::kDone);
  ASSERT_EQ(first.aside_dir, second.aside_dir) << "one second, one name planned";
  std::vector<Path> undeleted;
  ASSERT_EQ(Restore(installation, &first, &undeleted).outcome, Outcome::kDone);
  const auto restored = testing::SnapshotTree(NativeOf("users/u"));
  ASSERT_EQ(Restore(installation, &second, &undeleted).outcome, Outcome::kDone);
  EXPECT_NE(first.aside_dir, second.aside_dir);
  EXPECT_TRUE(testing::SnapshotTree(platform.Native(first.aside_dir)) == upgraded);
  EXPECT_TRUE(testing::SnapshotTree(platform.Native(second.aside_dir)) == restored);
  // No backup by then: refused under the lock, nothing made.
  fs::remove_all(NativeOf("upgrade_backup"));
  const auto before = testing::SnapshotTree(builder.root());
  RestorePlan planned = first;
  EXPECT_EQ(Restore(installation, &planned, &undeleted).outcome, Outcome::kRefused);
  EXPECT_TRUE(testing::SnapshotTree(builder.root()) == before) << "a refusal left something";
}

}  // namespace
}  // namespace dayledger
