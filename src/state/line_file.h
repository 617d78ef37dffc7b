// Line files: every data file is handled whole as a list of CP949 byte lines.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/path.h"
#include "state/line_list.h"

namespace dayledger {

class Platform;

// Calls `visit` with each line, a view into `bytes`, until it returns false:
// splits at CR LF, lone CR and lone LF; a final break adds no empty line,
// inner empty lines stay, a zero byte ends the text.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit&& visit) {
  const size_t end = std::min(bytes.find('\0'), bytes.size());
  size_t start = 0;
  size_t i = 0;
  while (i < end) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    if (!visit(bytes.substr(start, i - start))) return;
    i += (c == '\r' && i + 1 < end && bytes[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < end) visit(bytes.substr(start, end - start));
}
// The lines ForEachLine visits.
std::vector<std::string> SplitLines(const std::string& bytes);
// CR LF after every line, the last one included.
std::string JoinLines(const std::vector<std::string>& lines);
// True when every CR and every LF of the text stand in CR LF pairs: text
// ended by a pair is then its own lines joined.
bool OnlyPairedBreaks(std::string_view text);
// Appends JoinLines(SplitLines(bytes)) to `text`: bytes whose every break is
// a CR LF pair are copied whole, without a string per line.
void AppendJoinedLines(std::string_view bytes, std::string* text);

// Raises "Cannot open file %s" when the file cannot be read.
void ReadLines(Platform& platform, const Path& path, LineList* lines);
// Writes the whole file (CR LF after every line); "Cannot create file %s" or
// "Stream write error".
void WriteLines(Platform& platform, const Path& path, const LineList& lines);
// Reads the whole file, puts `code` into its version line (line 1) and
// writes it back; the errors of both, and "List index out of bounds (1)"
// for a file of one line.
void StampVersionLine(Platform& platform, const Path& path, const std::string& code);

// Names of the ordinary (not hidden, not folder) files matching "*.qbd" in
// the folder, the line files of a user's groups and timetables, ascending by
// name without regard to case. Throws "Cannot open folder" with the
// system's code if the folder cannot be listed.
std::vector<std::string> ListQbdFiles(Platform& platform, const Path& folder);

// The framework's text-to-integer conversion of a whole line: optional
// blanks, an optional sign and decimal digits fitting 32 bits; anything else
// raises "'%s' is not a valid integer value".
int StrToInt(const std::string& text);
// The same for line `index` of the lines; the error names their file.
int StrToInt(const LineList& lines, int index);

}  // namespace dayledger
