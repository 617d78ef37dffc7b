// The upgrade's run-time state: one copy for the whole run, kept by the
// upgrade tool for its start checks, its backup and its stages (the stage
// work is handed what it needs, not this). Its texts are CP949 bytes, as
// the data stores them.
#pragma once

#include <string>

#include "state/file_names.h"
#include "state/profile.h"
#include "state/version_code.h"

namespace dayledger {

// The driver's stages, in the order they run; the numbers are the stored
// UpgradeState values of the design.
enum class Stage : int {
  kReadProfile = -1,
  kSchedule = 0,
  kAnniversaryDetection = 1,
  kAnniversary = 2,
  kSaveProfile = 3,
};

struct UnitState {
  Path AppDir;  // its text ends in a backslash
  std::string UserName;
  std::string TargetVersion;  // the last step's code
  std::string StepVersion;
  bool Encrypted = false;
  Stage UpgradeState = Stage::kSchedule;
  Profile UserProfile;

  // The selected user's folder.
  Path UserDir() const { return UserFolder(AppDir, UserName); }
};

}  // namespace dayledger
