// Line files: splitting, joining, reading and writing, and StrToInt.
#include "state/line_file.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "platform/framework_error.h"
#include "platform/platform.h"

namespace dayledger {
namespace {

bool HasQbdExtension(const std::string& name) {
  return name.size() >= 4 && AsciiLower(name.substr(name.size() - 4)) == ".qbd";
}

}  // namespace

bool OnlyPairedBreaks(std::string_view text) {
  size_t pairs = 0;
  for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', lf + 1)) {
    if (lf == 0 || text[lf - 1] != '\r') return false;
    ++pairs;
  }
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\r')) == pairs;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  ForEachLine(bytes, [&](std::string_view line) {
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  // Sized once: a file's text is kept as it is made, without spare room.
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

void AppendJoinedLines(std::string_view bytes, std::string* text) {
  bytes = bytes.substr(0, bytes.find('\0'));
  if (OnlyPairedBreaks(bytes)) {
    text->append(bytes);
    if (!bytes.empty() && !bytes.ends_with("\r\n")) *text += "\r\n";
    return;
  }
  ForEachLine(bytes, [&](std::string_view line) {
    text->append(line);
    *text += "\r\n";
    return true;
  });
}

void ReadLines(Platform& platform, const Path& path, LineList* lines) {
  std::string bytes;
  ThrowIfFailed(platform.ReadFile(path, &bytes));
  lines->Assign(SplitLines(bytes), path);
}

void WriteLines(Platform& platform, const Path& path, const LineList& lines) {
  WriteFileOrThrow(platform, path, JoinLines(lines.lines()));
}

std::vector<std::string> ListQbdFiles(Platform& platform, const Path& folder) {
  const Result<std::vector<FolderEntry>> listed = platform.ListFolder(folder);
  if (!listed.ok()) throw CannotOpenFolder(folder, listed.status().code);
  std::vector<std::string> names;
  for (const FolderEntry& entry : *listed) {
    if (!entry.folder && !entry.hidden && HasQbdExtension(entry.name)) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return AsciiLower(a) < AsciiLower(b);
  });
  return names;
}

int StrToInt(const LineList& lines, int index) {
  const std::string& text = lines.Get(index);
  try {
    return StrToInt(text);
  } catch (const FrameworkError&) {
    throw NotAValidInteger(text, lines.source());
  }
}

int StrToInt(const std::string& text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) throw NotAValidInteger(text);
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  if (i == text.size()) throw NotAValidInteger(text);
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') throw NotAValidInteger(text);
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) throw NotAValidInteger(text);
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) throw NotAValidInteger(text);
  return static_cast<int>(value);
}

void StampVersionLine(Platform& platform, const Path& path, const std::string& code) {
  LineList lines;
  ReadLines(platform, path, &lines);
  lines.Replace(1, code);
  WriteLines(platform, path, lines);
}

}  // namespace dayledger
