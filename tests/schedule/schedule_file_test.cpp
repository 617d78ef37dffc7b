// The schedule cipher and the .qbsd container.
#include "schedule/schedule_file.h"

#include <gtest/gtest.h>

#include "demo/installation_builder.h"
#include "platform/framework_error.h"
#include "platform/native_path.h"
#include "state/line_file.h"
#include "support/test_platform.h"

namespace dayledger {
namespace {

using demo::InstallationBuilder;
using namespace std::string_literals;
using Lines = std::vector<std::string>;

// A key whose bytes 1..40 show which position enciphered a byte.
std::string PositionKey() {
  std::string key;
  for (int i = 1; i <= 40; ++i) key.push_back(static_cast<char>(i));
  return key;
}

TEST(ScheduleCipherTest, SumsWrapAroundModulo256) {
  ScheduleKey key = MakeScheduleKey("f");  // K[0] = 102, the rest zero
  EXPECT_EQ(Encipher("\xF0", key), "\x56");
  EXPECT_EQ(Decipher("\x56", key), "\xF0");
  EXPECT_EQ(Encipher("abc", key).substr(1), "bc") << "a zero key byte leaves its byte unchanged";
}

TEST(ScheduleCipherTest, EveryByteOfALongTextUsesTheKeyByteAtItsOffset) {
  // Many key-lengths long, with sums that carry out of a byte.
  std::string key;
  for (int i = 0; i < 40; ++i) key.push_back(static_cast<char>(200 + i));
  std::string plain;
  for (int n = 0; n < 1001; ++n) plain.push_back(static_cast<char>(n * 7));
  const std::string stored = Encipher(plain, MakeScheduleKey(key));
  ASSERT_EQ(stored.size(), plain.size());
  for (size_t n = 0; n < plain.size(); ++n) {
    ASSERT_EQ(static_cast<unsigned char>(stored[n]),
              static_cast<unsigned char>(plain[n] + key[n % 40]))
        << "offset " << n;
  }
  EXPECT_EQ(Decipher(stored, MakeScheduleKey(key)), plain);
}

// A month's rest moved into the merged file deciphers the same at its new
// offset, for every pair of offsets over two key lengths.
TEST(ScheduleCipherTest, MovedTextDeciphersTheSameAtAnyNewOffset) {
  const ScheduleKey key = MakeScheduleKey(PositionKey());
  const std::string plain = "an entry\r\nanother entry, long enough to pass a key's length\r\n";
  for (size_t from = 0; from < 80; ++from) {
    std::string stored = plain;
    EncipherAt(stored.data(), stored.size(), from, key);
    for (size_t to = 0; to < 80; ++to) {
      std::string moved = stored;
      MoveEnciphered(moved.data(), moved.size(), from, to, key);
      DecipherAt(moved.data(), moved.size(), to, key);
      ASSERT_EQ(moved, plain) << from << " to " << to;
    }
  }
}

TEST(ScheduleCipherTest, KeyPositionRunsOnAcrossLineEnds) {
  const ScheduleKey key = MakeScheduleKey(PositionKey());
  const std::string line0(15, 'A');
  const std::string stored =
      EncodeScheduleLines(LineList(Lines{line0, std::string(30, 'B')}), true, key);
  ASSERT_EQ(stored.size(), 15u + 2 + 30 + 2);
  EXPECT_EQ(stored[15], '\r' + 16) << "CR uses K[15]";
  EXPECT_EQ(stored[16], '\n' + 17) << "LF uses K[16]";
  EXPECT_EQ(stored[17], 'B' + 18) << "line 1 starts at K[17]";
  EXPECT_EQ(stored[39], 'B' + 40) << "the 40th byte uses K[39]";
  EXPECT_EQ(stored[40], 'B' + 1) << "the 41st byte uses K[0] again";
}

TEST(ScheduleCipherTest, EncipheredReadingRules) {
  const ScheduleKey key = MakeScheduleKey(PositionKey());
  const struct {
    const char* name;
    std::string plain;
    Lines lines;
  } cases[] = {
      {"empty file", "", {}},
      {"lone LF stays inside the line", "a\nb\r\nc\r\n", {"a\nb", "c"}},
      {"lone CR stays inside the line", "a\rb\r\n", {"a\rb"}},
      {"piece without CR LF is dropped", "a\r\ntail", {"a"}},
      {"CR CR LF keeps the first CR", "a\r\r\n", {"a\r"}},
      {"line cut at its zero byte", std::string("ab\0cd\r\ne\r\n", 10), {"ab", "e"}},
      {"empty lines", "\r\n\r\n", {"", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeScheduleBytes(Encipher(c.plain, key), true, key), c.lines) << c.name;
  }
}

TEST(ScheduleCipherTest, LongLinesAreNeitherTruncatedNorOverrun) {
  const ScheduleKey key = MakeScheduleKey(PositionKey());
  const Lines lines = {std::string(100000, 'x'), "short", std::string(32767, '\xB0')};
  const std::string stored = EncodeScheduleLines(LineList(lines), true, key);
  EXPECT_EQ(stored.size(), 100000u + 5 + 32767 + 6);
  EXPECT_EQ(DecodeScheduleBytes(stored, true, key), lines);
}

class ScheduleFileTest : public ::testing::Test {
 protected:
  ScheduleFileTest() : builder(platform.temp_dir() + "/app") {}
  std::string SchedulePath(const std::string& name) {
    return builder.UserDir("u") + "/schedules/" + name;
  }
  void WriteSchedule(const std::string& name, const std::string& bytes) {
    InstallationBuilder::WriteNative(SchedulePath(name), bytes);
  }
  testing::TestPlatform platform;
  InstallationBuilder builder;
  const std::string key = InstallationBuilder::DataKeyFor("dayledger");
};

TEST_F(ScheduleFileTest, MonthlyFileNamesAndPaths) {
  EXPECT_EQ(SchClass::FileName(1980, 1), "198001.qbsd");
  EXPECT_EQ(SchClass::FileName(2029, 12), "202912.qbsd");
  EXPECT_EQ(SchClass::FileName(5, 7), "000507.qbsd");
  WriteSchedule("198001.qbsd", "h\r\n10000\r\n0\r\n");
  SchClass month(platform, builder.AppDir(), 1980, 1, "u", false, key, SIZE_MAX);
  EXPECT_EQ(month.path().text(), builder.AppDir().text() + "\\users\\u\\schedules\\198001.qbsd");
  EXPECT_EQ(month.Lines.lines(), (Lines{"h", "10000", "0"}));
}

TEST_F(ScheduleFileTest, PlainFormFollowsTheLineFileRules) {
  WriteSchedule("202912.qbsd", "h\n10000\r\r\n\xC8\xAB\r\nlast");
  SchClass month(platform, builder.AppDir(), 2029, 12, "u", false, key, SIZE_MAX);
  EXPECT_EQ(month.Lines.lines(), (Lines{"h", "10000", "", "\xC8\xAB", "last"}));
  month.Save();
  EXPECT_EQ(InstallationBuilder::ReadNative(SchedulePath("202912.qbsd")),
            "h\r\n10000\r\n\r\n\xC8\xAB\r\nlast\r\n");
}

TEST_F(ScheduleFileTest, AMonthLoadedByItsHeadSavesAsLoadedWhole) {
  // Each line rule of both forms (lone CR and LF, a zero byte, a piece after
  // the last break), and texts that the rules leave as they are.
  const ScheduleKey cipher = MakeScheduleKey(key);
  const struct {
    bool encrypted;
    std::string bytes;
  } months[] = {
      {false, "h\n10000\r\r\n\xC8\xAB\r\nx\0y\r\nlast"s},
      {false, "h\r\n10000\r\n2\r\n\xC8\xAB\r\n\r\nlast"},
      {false, "h\r\n10000\r\n2\r\n\xC8\xAB\r\n\r\nlast\r\n"},
      {false, "h\r\n10000\r\n2\r\na\rb\nc\r\n"},
      {true, Encipher("h\r\n10000\r\n2\r\na\rb\nc\r\nx\0y\r\ntail"s, cipher)},
      {true, Encipher("h\r\n10000\r\n2\r\na\rb\nc\r\n\r\ntail", cipher)},
      {true, Encipher(std::string(5000, 'h') + "\r\n10000\r\n2\r\na\r\n", cipher)},
  };
  for (const auto& [encrypted, bytes] : months) {
    WriteSchedule("200102.qbsd", bytes);
    SchClass whole(platform, builder.AppDir(), 2001, 2, "u", encrypted, key, SIZE_MAX);
    whole.Save();
    const std::string expected = InstallationBuilder::ReadNative(SchedulePath("200102.qbsd"));
    for (const size_t head : {size_t{0}, size_t{2}, size_t{3}, size_t{9}}) {
      WriteSchedule("200102.qbsd", bytes);
      SchClass month(platform, builder.AppDir(), 2001, 2, "u", encrypted, key, head);
      EXPECT_EQ(month.Lines.Count(), std::min<int>(static_cast<int>(head), whole.Lines.Count()));
      month.Save();
      EXPECT_EQ(InstallationBuilder::ReadNative(SchedulePath("200102.qbsd")), expected)
          << "encrypted " << encrypted << ", head " << head;
      ScheduleText taken(false);
      taken.Add(month.TakeText());
      EXPECT_EQ(taken.Take({}, cipher), JoinScheduleLines(whole.Lines.lines(), encrypted))
          << "encrypted " << encrypted << ", head " << head;
    }
  }
}

TEST_F(ScheduleFileTest, SaveAndLoadRoundTripInBothForms) {
  const Lines lines = {"#schedule data#", "10100", "2", "20010203|0900|\xC8\xAB", ""};
  for (bool encrypted : {false, true}) {
    WriteSchedule("200102.qbsd", "");
    {
      SchClass month(platform, builder.AppDir(), 2001, 2, "u", encrypted, key, SIZE_MAX);
      EXPECT_EQ(month.Lines.Count(), 0);
      month.Lines.Assign(lines);
      month.Save();
      month.Save();  // each save starts again at key position 0
    }
    SchClass again(platform, builder.AppDir(), 2001, 2, "u", encrypted, key, SIZE_MAX);
    EXPECT_EQ(again.Lines.lines(), lines) << "encrypted " << encrypted;
    const std::string stored = InstallationBuilder::ReadNative(SchedulePath("200102.qbsd"));
    EXPECT_EQ(stored == JoinLines(lines), !encrypted);
    again.Lines.Clear();
    again.Save();
    EXPECT_EQ(InstallationBuilder::ReadNative(SchedulePath("200102.qbsd")), "");
  }
}

TEST_F(ScheduleFileTest, FailuresCarryTheFrameworkTexts) {
  const std::string tool_path = builder.AppDir().text() + "\\users\\u\\schedules\\198507.qbsd";
  try {
    SchClass missing(platform, builder.AppDir(), 1985, 7, "u", true, key, SIZE_MAX);
    ADD_FAILURE();
  } catch (const FrameworkError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + tool_path);
  }
  WriteSchedule("198507.qbsd", "only one line\r\n");
  SchClass month(platform, builder.AppDir(), 1985, 7, "u", true, key, SIZE_MAX);
  EXPECT_EQ(month.Lines.Count(), 0) << "no CR LF after deciphering";
  month.Lines.Add("x");
  platform.fail_write_path = SchedulePath("198507.qbsd");
  for (auto [result, text] : {std::pair{StatusKind::kWriteFailed, "Stream write error"},
                              std::pair{StatusKind::kCannotCreate, "Cannot create file "}}) {
    platform.fail_write_error = result;
    try {
      month.Save();
      ADD_FAILURE();
    } catch (const FrameworkError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, std::string(text).size()), text);
    }
  }
  EXPECT_EQ(InstallationBuilder::ReadNative(SchedulePath("198507.qbsd")), "only one line\r\n")
      << "a failed save leaves the old file";
}

TEST_F(ScheduleFileTest, RepeatFileChangesItsForm) {
  WriteSchedule("repeat.qbsd", "r\n10200\n\xB0\xA1\xB3\xAA");
  {
    SchRepClass repeat(platform, builder.AppDir(), 1999, 3, "u", false, key);
    EXPECT_EQ(repeat.path().text(), builder.AppDir().text() + "\\users\\u\\schedules\\repeat.qbsd");
    repeat.SetEncrypted(true);
    repeat.Save();
  }
  const std::string stored = InstallationBuilder::ReadNative(SchedulePath("repeat.qbsd"));
  EXPECT_EQ(Decipher(stored, MakeScheduleKey(key)), "r\r\n10200\r\n\xB0\xA1\xB3\xAA\r\n");
  SchRepClass back(platform, builder.AppDir(), -1, -1, "u", true, key);
  EXPECT_EQ(back.Lines.lines(), (Lines{"r", "10200", "\xB0\xA1\xB3\xAA"}));

  WriteSchedule("repeat.qbsd", "");
  SchRepClass empty(platform, builder.AppDir(), -1, -1, "u", false, key);
  empty.SetEncrypted(true);
  empty.Save();
  EXPECT_EQ(InstallationBuilder::ReadNative(SchedulePath("repeat.qbsd")), "");
}

}  // namespace
}  // namespace dayledger
