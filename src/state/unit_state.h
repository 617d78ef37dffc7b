// The tool's run-time state: one copy for the whole run, shared by the start
// checks, the backup, the driver and the stage work. Texts are CP949 bytes.
#pragma once

#include <string>

#include "platform/line_list.h"
#include "state/file_names.h"

namespace dayledger {

inline const std::string kTargetVersion = "10300";
inline const std::string kInitialDataKey(40, '0');

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
  std::string AppDir;  // ends in a backslash
  std::string UserName;
  std::string TargetVersion = kTargetVersion;
  std::string StepVersion;
  std::string DataKey = kInitialDataKey;
  bool Encrypted = false;
  Stage UpgradeState = Stage::kSchedule;
  LineList ProfileLines;

  // The selected user's folder.
  std::string UserDir() const { return UserFolder(AppDir, UserName); }
};

}  // namespace dayledger
