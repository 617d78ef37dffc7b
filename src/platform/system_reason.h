// What the system's refusals mean where the words for them must say more
// than the system's own: Windows' answers when a virus scanner or its
// controlled folder access stops a file, and the codes of a brief denial.
// Pure rules, so every system can test them.
#pragma once

#include "platform/platform.h"

namespace dayledger {

// Windows' codes for a file a virus scanner found infected, or removed.
inline constexpr int kWindowsVirusInfected = 225;  // ERROR_VIRUS_INFECTED
inline constexpr int kWindowsVirusDeleted = 226;   // ERROR_VIRUS_DELETED

// What stood behind Windows' `code` for an operation on a file whose folder
// exists (`folder_exists`) and lies under one that controlled folder access
// protects (`protected_folder`): that feature answers "not found" or
// "access denied" when a program it does not know creates a file there.
Blocker WindowsBlocker(int code, bool folder_exists, bool protected_folder);

// Whether the system's `code` says a file was refused for a moment, as when
// a virus scanner opens a file just written to look at it: held or shared
// away, not a refusal that lasts.
bool IsBriefDenial(int code);

}  // namespace dayledger
