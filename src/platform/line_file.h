// Line files: every data file is handled whole as a list of CP949 byte lines.
#pragma once

#include <string>
#include <vector>

#include "platform/line_list.h"

namespace dayledger {

class Platform;

// Splits at CR LF, lone CR and lone LF; a final break adds no empty line,
// inner empty lines stay, a zero byte ends the text.
std::vector<std::string> SplitLines(const std::string& bytes);
// CR LF after every line, the last one included.
std::string JoinLines(const std::vector<std::string>& lines);

// Raises "Cannot open file %s" when the file cannot be read.
void ReadLines(Platform& platform, const std::string& path, LineList* lines);
// Writes the whole file (CR LF after every line); "Cannot create file %s" or
// "Stream write error".
void WriteLines(Platform& platform, const std::string& path, const LineList& lines);

// The framework's text-to-integer conversion of a whole line: optional
// blanks, an optional sign and decimal digits fitting 32 bits; anything else
// raises "'%s' is not a valid integer value".
int StrToInt(const std::string& text);
// The same for line `index` of the lines; the error names their file.
int StrToInt(const LineList& lines, int index);

}  // namespace dayledger
