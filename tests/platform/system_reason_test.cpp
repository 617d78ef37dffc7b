// What stood behind Windows' plain codes (a virus scanner, or controlled
// folder access refusing a new file in a folder it protects), the system's
// own words, and how long a file held a moment is waited for.
#include "platform/system_reason.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/patience.h"
#include "support/test_platform.h"

namespace dayledger {
namespace {

TEST(SystemReasonTest, WindowsBlockers) {
  const struct {
    int code;
    bool folder_exists;
    bool protected_folder;
    Blocker blocker;
  } cases[] = {
      {kWindowsVirusInfected, true, false, Blocker::kVirusScanner},
      {kWindowsVirusDeleted, true, true, Blocker::kVirusScanner},
      {2, true, true, Blocker::kProtectedFolder},  // not found, in a folder that exists
      {5, true, true, Blocker::kProtectedFolder},  // access denied
      {2, false, true, Blocker::kNone},            // the folder itself is missing
      {5, true, false, Blocker::kNone},            // a folder nobody protects
      {32, true, true, Blocker::kNone},            // a sharing violation is another matter
      {112, true, true, Blocker::kNone},           // a full disk
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WindowsBlocker(c.code, c.folder_exists, c.protected_folder), c.blocker)
        << c.code << " " << c.folder_exists << " " << c.protected_folder;
  }
}

// What a scanner or another program holding a file a moment answers; a
// file busy as a running program's text is such a moment too.
TEST(SystemReasonTest, BriefDenials) {
  EXPECT_TRUE(IsBriefDenial(EBUSY));
  EXPECT_TRUE(IsBriefDenial(ETXTBSY));
  EXPECT_FALSE(IsBriefDenial(ENOSPC));
  EXPECT_FALSE(IsBriefDenial(EIO));
  EXPECT_FALSE(IsBriefDenial(EACCES));
  EXPECT_FALSE(IsBriefDenial(0));
}

// The system's own words for its codes, as the C library of this build says them.
TEST(SystemReasonTest, TheSystemsOwnWords) {
  EXPECT_EQ(SystemErrorText(0), "");
  EXPECT_EQ(SystemErrorText(EACCES), "Permission denied");
  EXPECT_EQ(SystemErrorText(ENOSPC), "No space left on device");
  EXPECT_EQ(SystemErrorText(EIO), "Input/output error");
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

// How long a file held a moment is waited for, in all: about three seconds
// before anything changes, about twenty once the change is saved.
TEST(PatienceTest, WaitsAboutAsLongAsItSays) {
  struct Clocked : PlatformWrapper {
    explicit Clocked(Platform* target) : PlatformWrapper(target) {}
    void Pause(int milliseconds) override { waited += milliseconds; }
    int waited = 0;
  };
  const struct {
    const char* name;
    Patience patience;
    int least_ms;
    int most_ms;
  } cases[] = {{"brief", kBriefPatience, 2500, 3500},
               {"committed", kCommittedPatience, 15000, 25000}};
  testing::TestPlatform system;
  for (const auto& c : cases) {
    Clocked clocked(&system);
    int asked = 0;
    EXPECT_FALSE(Patiently(clocked, c.patience, [&] { return ++asked < 0; })) << c.name;
    EXPECT_EQ(asked, c.patience.tries) << c.name;
    EXPECT_GE(clocked.waited, c.least_ms) << c.name;
    EXPECT_LE(clocked.waited, c.most_ms) << c.name;
  }
}

}  // namespace
}  // namespace dayledger
