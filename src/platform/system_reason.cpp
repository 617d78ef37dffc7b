// Windows' answers that hide a virus scanner or controlled folder access.
#include "platform/system_reason.h"

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

}  // namespace dayledger
