// The cases every front end must pass, as an operator meets them: one user
// started with a password and the skip box, the messages shown and the log
// written. The window's tests and the terminal program's run the whole
// table, each the way its operator would.
#pragma once

#include <sys/types.h>

#include <memory>
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
  // What the PC does beside the run, each relative to the installation:
  std::string running_program = {};  // a program running from there
  std::string read_only_file = {};   // a file that is read-only
  std::string linked_folder = {};    // a link to an empty folder elsewhere
  std::string password = {};
  bool skip_backup = false;  // the question is answered yes
  CaseEnd end = CaseEnd::kDone;
  // "kind:text", in order; "{app}" the AppDir, "{record}" the lines that name
  // the run's record.
  std::vector<std::string> messages = {};
  std::vector<std::string> log = {};  // texts without their stamps
};

std::vector<FrontEndCase> FrontEndCases();

// A program started for a case, ended and reaped when this goes.
class RunningProgram {
 public:
  explicit RunningProgram(pid_t pid) : pid_(pid) {}
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

 private:
  pid_t pid_;
};

// The case's installation under `builder`: its user alone, its planted file,
// and what the PC does beside it; the program it started, if any.
std::unique_ptr<RunningProgram> Install(demo::InstallationBuilder& builder, const FrontEndCase& c);

// The case's messages for the installation `builder` laid out, after its run.
std::vector<std::string> ExpectedMessages(const FrontEndCase& c,
                                          const demo::InstallationBuilder& builder);

}  // namespace dayledger::testing
