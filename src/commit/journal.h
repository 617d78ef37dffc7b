// The commit journal: the renames and deletions that turn a user's folder
// from its old state into its new one, ending in a checksum so that a journal
// torn by a crash is recognised and never applied.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dayledger {

// Paths are relative to the folder that holds the journal.
struct Journal {
  std::vector<std::pair<std::string, std::string>> renames;  // temporary, target
  std::vector<std::string> deletions;
  std::vector<std::string> removed_folders;  // emptied by the deletions, deepest first
  std::vector<std::string> folders;          // to flush once applied; "" is the folder itself
};

std::string EncodeJournal(const Journal& journal);
// nullopt for a torn or foreign journal.
std::optional<Journal> DecodeJournal(const std::string& bytes);

}  // namespace dayledger
