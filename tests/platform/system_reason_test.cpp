// What stood behind Windows' plain codes: a virus scanner, or controlled
// folder access refusing a new file in a folder it protects.
#include "platform/system_reason.h"

#include <gtest/gtest.h>

#include <cerrno>

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
