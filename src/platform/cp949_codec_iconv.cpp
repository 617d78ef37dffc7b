// CP949 conversion through iconv, for POSIX systems.
#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "platform/cp949_codec.h"

namespace dayledger {
namespace {

size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// One conversion descriptor per direction and thread, opened once: opening
// one loads its tables, which costs more than converting a path.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Converts with iconv; a character it cannot take is replaced by
// `replacement` (one replacement per UTF-8 character, or per CP949 byte).
// ASCII stands for itself in both encodings and is handed back as it is.
std::string Convert(const Converter& converter, const std::string& input,
                    const std::string& replacement, bool utf8_input) {
  if (IsAscii(input) || !converter.valid()) return input;
  iconv_t cd = converter.get();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh start for every text
  std::string output;
  char buffer[4096];
  char* in = const_cast<char*>(input.data());
  size_t in_left = input.size();
  while (in_left > 0) {
    char* out = buffer;
    size_t out_left = sizeof buffer;
    const size_t rc = iconv(cd, &in, &in_left, &out, &out_left);
    output.append(buffer, static_cast<size_t>(out - buffer));
    if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ or EINVAL: a sequence that does not convert.
    output += replacement;
    const size_t skip = utf8_input ? Utf8SequenceLength(static_cast<unsigned char>(*in)) : 1;
    const size_t step = std::min(skip, in_left);
    in += step;
    in_left -= step;
  }
  return output;
}

}  // namespace

std::string Cp949ToUtf8Text(const std::string& cp949) {
  thread_local const Converter converter("UTF-8", "CP949");
  return Convert(converter, cp949, "\xEF\xBF\xBD", false);
}

std::string Utf8ToCp949Text(const std::string& utf8) {
  thread_local const Converter converter("CP949", "UTF-8");
  return Convert(converter, utf8, "?", true);
}

}  // namespace dayledger
