// Line file reading rules and StrToInt, as tables.
#include "state/line_file.h"

#include <gtest/gtest.h>

#include "platform/framework_error.h"
#include "state/line_list.h"

namespace dayledger {
namespace {

using Lines = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitLinesTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLinesTest, FollowsTheLineFileRules) {
  EXPECT_EQ(SplitLines(GetParam().bytes), GetParam().lines) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    ReadingRules, SplitLinesTest,
    ::testing::Values(
        SplitCase{"crlf", "a\r\nb\r\n", {"a", "b"}}, SplitCase{"lone lf", "a\nb\n", {"a", "b"}},
        SplitCase{"lone cr", "a\rb\r", {"a", "b"}},
        SplitCase{"mixed ends", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        SplitCase{"no final break", "a\r\nb", {"a", "b"}},
        SplitCase{"final break adds nothing", "a\r\n", {"a"}},
        SplitCase{"inner empty lines stay", "a\r\n\r\n\nb\r\n", {"a", "", "", "b"}},
        SplitCase{"lf cr is two breaks", "a\n\rb", {"a", "", "b"}}, SplitCase{"empty file", "", {}},
        SplitCase{"only a break", "\r\n", {""}},
        SplitCase{"zero byte ends the text", std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        SplitCase{"zero byte first", std::string("\0a", 2), {}},
        SplitCase{
            "cp949 bytes kept", "\xC8\xAB\xB1\xE6\xB5\xBF\r\n", {"\xC8\xAB\xB1\xE6\xB5\xBF"}}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST(JoinLinesTest, PutsCrLfAfterEveryLine) {
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({""}), "\r\n");
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(JoinLinesTest, RoundTripsWhatItWrites) {
  const Lines lines = {"#profile data#", "10200", "", "\xB0\xA1"};
  EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

struct IntCase {
  const char* text;
  bool valid;
  int value;
};

TEST(StrToIntTest, AcceptsWholeNumbersOnly) {
  const IntCase cases[] = {
      {"0", true, 0},
      {"42", true, 42},
      {"-7", true, -7},
      {"+7", true, 7},
      {"  12", true, 12},
      {"007", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"", false, 0},
      {"12 ", false, 0},
      {"1a", false, 0},
      {"abc", false, 0},
      {"-", false, 0},
      {"1.5", false, 0},
  };
  for (const IntCase& c : cases) {
    if (c.valid) {
      EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
    } else {
      try {
        StrToInt(c.text);
        ADD_FAILURE() << "accepted " << c.text;
      } catch (const FrameworkError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'" + std::string(c.text) + "' is not a valid integer value");
      }
    }
  }
}

TEST(LineListTest, ReachingPastTheEndNamesTheIndex) {
  LineList list(Lines{"only"});
  EXPECT_EQ(list.Get(0), "only");
  for (int index : {1, -1, 9}) {
    try {
      list.Get(index);
      ADD_FAILURE() << index;
    } catch (const FrameworkError& e) {
      EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(index) + ")");
    }
  }
  EXPECT_THROW(list.Replace(1, "x"), FrameworkError);
  list.Delete(0);
  EXPECT_THROW(list.Delete(0), FrameworkError);
}

}  // namespace
}  // namespace dayledger
