// The commit journal: the renames and deletions that turn a user's folder
// from its old state into its new one, ending in a checksum so that a journal
// torn by a crash is recognised and never applied.
#pragma once

#include <string>
#include <vector>

#include "platform/status.h"

namespace dayledger {

// One new file or folder, built under a temporary name beside its target.
// A file's entry says what it must hold, so that a temporary no longer
// there counts as moved only where its target holds exactly that.
struct JournalRename {
  std::string temporary;
  std::string target;
  bool checked = false;  // size and digest known (a file; journals of the
                         // first format name neither)
  unsigned long long size = 0;
  std::string digest = {};  // SHA-1, in hex

  bool operator==(const JournalRename&) const = default;
};

// Paths are relative to the folder that holds the journal.
struct Journal {
  std::vector<JournalRename> renames;
  std::vector<std::string> deletions;
  std::vector<std::string> removed_folders;  // emptied by the deletions, deepest first
  std::vector<std::string> folders;          // to flush once applied; "" is the folder itself
};

std::string EncodeJournal(const Journal& journal);
// kDamaged for a torn or foreign journal; kNewerFormat for a whole first
// line naming a format number this build does not know (the path is the
// caller's to add). Reads the first format too, whose renames carry no
// size or digest.
Result<Journal> DecodeJournal(const std::string& bytes);

}  // namespace dayledger
