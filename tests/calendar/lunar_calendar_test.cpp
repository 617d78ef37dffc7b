// Solar-lunar conversions: known dates, the table's edges, inputs out of range.
#include "calendar/lunar_calendar.h"

#include <gtest/gtest.h>

#include "support/holds_value.h"

namespace dayledger::lunar {

void PrintTo(const SolarDate& d, std::ostream* os) {
  *os << d.year << "-" << d.month << "-" << d.day;
}
void PrintTo(const LunarDate& d, std::ostream* os) {
  *os << d.year << "-" << d.month << "-" << d.day << (d.leap ? " leap" : "");
}

namespace {

const struct {
  SolarDate solar;
  LunarDate lunar;
} kPairs[] = {
    {{2009, 11, 4}, {2009, 9, 18, false}},   // the window's stored values
    {{1881, 1, 30}, {1881, 1, 1, false}},    // first day of the table
    {{2044, 1, 29}, {2043, 12, 30, false}},  // last day of the table
    {{1881, 8, 25}, {1881, 7, 1, true}},     // leap seventh month of 1881
    {{2009, 6, 23}, {2009, 5, 1, true}},     // leap fifth month of 2009
    {{2009, 5, 24}, {2009, 5, 1, false}},   {{2009, 7, 22}, {2009, 6, 1, false}},
    {{2000, 2, 29}, {2000, 1, 25, false}},  // 2000 is a leap year
    {{1900, 2, 28}, {1900, 1, 29, false}},  // 1900 is not
    {{1900, 3, 1}, {1900, 2, 1, false}},
};

TEST(LunarCalendarTest, KnownDatesBothWays) {
  for (const auto& pair : kPairs) {
    EXPECT_TRUE(testing::HoldsValue(SolarToLunar(pair.solar), pair.lunar))
        << ::testing::PrintToString(pair.solar);
    EXPECT_TRUE(testing::HoldsValue(LunarToSolar(pair.lunar), pair.solar))
        << ::testing::PrintToString(pair.lunar);
  }
}

TEST(LunarCalendarTest, LunarInputsTheTableDoesNotConfirm) {
  const struct {
    LunarDate lunar;
    SolarDate solar;
  } cases[] = {
      {{2009, 4, 1, true}, {2009, 5, 24}},     // no leap fourth month: one month later
      {{2009, 9, 31, false}, {2009, 11, 17}},  // day 31 counts on
      {{2009, 10, 1, false}, {2009, 11, 17}},
      {{2009, 9, 30, false}, {2009, 11, 16}},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(testing::HoldsValue(LunarToSolar(c.lunar), c.solar))
        << ::testing::PrintToString(c.lunar);
  }
}

TEST(LunarCalendarTest, GregorianLeapRule) {
  for (auto [year, leap] : {std::pair{1900, false}, std::pair{2000, true}, std::pair{2004, true},
                            std::pair{2100, false}, std::pair{1999, false}}) {
    EXPECT_EQ(IsGregorianLeapYear(year), leap) << year;
    EXPECT_EQ(SolarMonthLength(year, 2), leap ? 29 : 28) << year;
  }
}

TEST(LunarCalendarTest, OutOfRangeInputsAreRefused) {
  for (const SolarDate& solar :
       {SolarDate{1881, 1, 29}, SolarDate{2044, 1, 30}, SolarDate{0, 1, 1},
        SolarDate{65535, 12, 31}, SolarDate{2009, 2, 30}, SolarDate{2009, 0, 1},
        SolarDate{2009, 13, 1}, SolarDate{2009, 1, 0}, SolarDate{65535, 65535, 65535}}) {
    EXPECT_EQ(SolarToLunar(solar).kind(), StatusKind::kOutOfRange)
        << ::testing::PrintToString(solar);
  }
  for (const LunarDate& lunar :
       {LunarDate{1880, 1, 1}, LunarDate{2044, 1, 1}, LunarDate{0, 1, 1}, LunarDate{65535, 1, 1},
        LunarDate{2009, 0, 1}, LunarDate{2009, 13, 1}, LunarDate{2009, 1, 0},
        LunarDate{2043, 12, 31}, LunarDate{2043, 12, 65535, true},
        LunarDate{65535, 65535, 65535}}) {
    EXPECT_EQ(LunarToSolar(lunar).kind(), StatusKind::kOutOfRange)
        << ::testing::PrintToString(lunar);
  }
}

SolarDate NextSolarDay(SolarDate d) {
  if (++d.day > SolarMonthLength(d.year, d.month)) {
    d.day = 1;
    if (++d.month > 12) {
      d.month = 1;
      ++d.year;
    }
  }
  return d;
}

// The next lunar day, if `d` is followed by day 1 of another month.
bool IsNextLunarDay(const LunarDate& previous, const LunarDate& d) {
  if (d.year == previous.year && d.month == previous.month && d.leap == previous.leap) {
    return d.day == previous.day + 1;
  }
  if (d.day != 1 || previous.day < 29) return false;
  if (d.leap) return d.year == previous.year && d.month == previous.month && !previous.leap;
  if (d.year == previous.year) return d.month == previous.month + 1;
  return d.year == previous.year + 1 && d.month == 1 && previous.month == 12;
}

TEST(LunarCalendarTest, EveryDayOfTheTableRoundTripsAndWalksForward) {
  SolarDate solar{1881, 1, 30};
  LunarDate previous;
  int days = 0;
  for (; !(solar == SolarDate{2044, 1, 30}); solar = NextSolarDay(solar), ++days) {
    const Result<LunarDate> found = SolarToLunar(solar);
    ASSERT_TRUE(found.ok()) << ::testing::PrintToString(solar);
    const LunarDate lunar = *found;
    ASSERT_TRUE(testing::HoldsValue(LunarToSolar(lunar), solar)) << ::testing::PrintToString(lunar);
    if (days > 0) {
      ASSERT_TRUE(IsNextLunarDay(previous, lunar))
          << ::testing::PrintToString(previous) << " then " << ::testing::PrintToString(lunar);
    }
    previous = lunar;
  }
  EXPECT_EQ(days, 59534);
}

}  // namespace
}  // namespace dayledger::lunar
