// The restore's own start and words: the question about the other PCs of a
// network drive, and a failed copy of the current folder named for what
// failed, a read or a create.
#include "restore/restore.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/path.h"
#include "support/native_files.h"
#include "support/upgrade_fixture.h"
#include "texts/texts.h"

namespace dayledger {
namespace {

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
      // The copy kept aside is named for the clock's time.
      {"a create fails", false, "", true, Outcome::kStopped,
       "Cannot create file " + builder.AppDir().Normal().text() +
           "\\upgrade_backup\\u.before-restore-20261207-140509\\"},
  };
  for (const auto& c : cases) {
    platform.network_drive = c.network_drive;
    platform.fail_read_path = c.unreadable.empty() ? "" : NativeOf("users/u/" + c.unreadable);
    RestorePlan plan;
    ASSERT_EQ(PlanRestore(installation, "u", &plan).outcome, Outcome::kDone) << c.name;
    platform.fail_writes_in_folder = c.aside_unwritable ? platform.Native(plan.aside_dir) : "";
    const auto before = testing::SnapshotTree(NativeOf("users/u"));
    std::vector<Path> undeleted;
    const Reply restored = Restore(installation, plan, &undeleted);
    EXPECT_EQ(restored.outcome, c.outcome) << c.name;
    ASSERT_FALSE(restored.notices.empty()) << c.name;
    const Notice& shown = restored.notices.front();
    EXPECT_EQ(shown.text.rfind(c.words, 0), 0u) << c.name << ": " << shown.text;
    // A question, Enter answering No; or a stop with the system's reason.
    EXPECT_TRUE(c.outcome == Outcome::kAsk
                    ? shown.kind == NoticeKind::kQuestion && shown.no_by_default
                    : shown.text.find(testing::ReasonShown(EIO)) != std::string::npos)
        << c.name;
    EXPECT_TRUE(testing::SnapshotTree(NativeOf("users/u")) == before) << c.name << ": changed";
  }
}

}  // namespace
}  // namespace dayledger
