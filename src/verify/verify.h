// Proof that an upgrade lost nothing: the user's data now (at the target
// version) against the backup taken before the upgrade (any older version).
// Reads only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "floor/installation.h"
#include "floor/reply.h"
#include "floor/version_steps.h"

namespace dayledger {

struct VerifyEntry {
  std::string month;  // "YYYYMM" of the backup's monthly file; empty for an added entry
  std::string line;   // CP949, as stored
};

struct VerifyReport {
  long long backup_entries = 0;   // entry lines of the backup's schedule files
  long long current_entries = 0;  // entry lines of the merged file
  std::vector<VerifyEntry> missing;
  std::vector<VerifyEntry> added;  // entries of now that the backup does not hold
  std::string count_expected;      // the merged count line as the upgrade computes it
  std::string count_found;
  int files_equal = 0;
  std::vector<Path> files_differing;

  bool accounted_for() const {
    return missing.empty() && files_differing.empty() && count_expected == count_found;
  }
};

// Whose data, and what the command was given.
struct VerifyRequest {
  std::string user_name;  // CP949
  std::string password;   // UTF-8, as typed; used when the data is encrypted
};

// Whether the user's data is encrypted (the current profile says so),
// into `needed`; the caller asks for the password only then. kStopped, its
// notice naming the profile, when the profile cannot be read.
Reply VerifyNeedsPassword(Installation& installation, const VerifyRequest& request, bool* needed);

// Compares, into `report`. kRefused when the data is not at the
// chain's target yet or the password is wrong; kStopped when
// upgrade_backup\USER has no readable profile or is at the target already,
// or when a file of the backup or of now cannot be read (the error report,
// naming the file). A refusal leaves the report empty; its notice says why.
Reply Verify(Installation& installation, const VerifyRequest& request, VerifyReport* report,
             const VersionChain& chain = VersionChain::Standard());

}  // namespace dayledger
