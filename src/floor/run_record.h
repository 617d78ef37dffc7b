// The record of one run, kept for whoever helps when a run goes wrong: one
// text file per upgrade or restore in upgrade_backup\.dlu\logs\<user>, in
// the tool's own folder beside the backups, written as the run goes and named in the message
// of a run that stopped. UTF-8 with a byte-order mark and CR LF line ends,
// so Notepad shows it on any Windows.
#pragma once

#include <string>

#include "floor/installation.h"
#include "floor/reply.h"

namespace dayledger {

// How many records of one user are kept; older ones go as a new one starts.
inline constexpr size_t kRecordsKept = 20;

class RunRecord {
 public:
  // No record: a run that has not passed its start checks.
  RunRecord() = default;
  // Starts the record of a run of `verb` (its words, UTF-8) for `user`
  // (CP949): a file named for the time, "-2" and on for a second run in the
  // same second, headed by the tool's and the system's version, the
  // installation, its VirtualStore folder and the user.
  static RunRecord Begin(Installation& installation, const std::string& user,
                         const std::string& verb);

  bool active() const { return platform_ != nullptr; }
  // One line as the window's log shows it, time stamp included.
  void Line(const std::string& line);
  // The reply's errors with their reasons, then writes what the record
  // holds so far; a record that cannot be written never stops the run.
  void Note(const Reply& reply);
  // The run ended with `reply`: notes it and how it ended (its outcome and
  // exit status), and a stopped run's message names the record, or says it
  // could not be kept. The record is closed.
  void End(Reply* reply);

 private:
  void AddErrors(const Reply& reply);
  void Save();

  Platform* platform_ = nullptr;
  Path path_;         // the record
  std::string text_;  // UTF-8, CR LF line ends
  bool kept_ = true;  // every write so far reached the file
};

// The record's stamp in its name, "20261207-140509", for the time.
std::string RecordStamp(const LocalTime& time);
// A line of the progress log: "[hh:mm:ss]" and the text.
std::string StampedLine(const LocalTime& time, const std::string& text);

}  // namespace dayledger
