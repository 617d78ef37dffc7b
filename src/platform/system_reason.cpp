// Windows' answers that hide a virus scanner or controlled folder access,
// and the codes of a brief denial.
#include "platform/system_reason.h"

#include <cerrno>

namespace dayledger {

Blocker WindowsBlocker(int code, bool folder_exists, bool protected_folder) {
  constexpr int kFileNotFound = 2;  // ERROR_FILE_NOT_FOUND
  constexpr int kAccessDenied = 5;  // ERROR_ACCESS_DENIED
  if (code == kWindowsVirusInfected || code == kWindowsVirusDeleted) return Blocker::kVirusScanner;
  if ((code == kFileNotFound || code == kAccessDenied) && folder_exists && protected_folder) {
    return Blocker::kProtectedFolder;
  }
  return Blocker::kNone;
}

bool IsBriefDenial(int code) {
#ifdef _WIN32
  constexpr int kAccessDenied = 5;  // ERROR_ACCESS_DENIED, as a file opened for deletion answers
  constexpr int kSharingViolation = 32;  // ERROR_SHARING_VIOLATION
  constexpr int kLockViolation = 33;     // ERROR_LOCK_VIOLATION
  return code == kAccessDenied || code == kSharingViolation || code == kLockViolation;
#else
  return code == EBUSY || code == ETXTBSY;
#endif
}

}  // namespace dayledger
