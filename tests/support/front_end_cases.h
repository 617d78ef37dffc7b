// The cases every front end must pass, as an operator meets them: one user
// started with a password and the skip box, the messages shown and the log
// written. The window's tests and the terminal program's run the whole
// table, each the way its operator would.
#pragma once

#include <string>
#include <vector>

#include "demo/installation_builder.h"

namespace dayledger::testing {

enum class CaseEnd { kRefused, kStopped, kDone };

struct FrontEndCase {
  std::string name;
  demo::UserSpec user;            // the one user of the installation, "u"
  std::string planted_file = {};  // relative to the installation; written when set
  std::string planted_bytes = {};
  std::string password = {};
  bool skip_backup = false;  // the question is answered yes
  CaseEnd end = CaseEnd::kDone;
  std::vector<std::string> messages = {};  // "kind:text", in order
  std::vector<std::string> log = {};       // texts without their stamps
};

std::vector<FrontEndCase> FrontEndCases();

// The case's installation under `builder`: its user alone, and its planted file.
void Install(demo::InstallationBuilder& builder, const FrontEndCase& c);

}  // namespace dayledger::testing
