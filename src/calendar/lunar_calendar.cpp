// Solar to lunar dates and back, over the table of lunar months.
#include "calendar/lunar_calendar.h"

#include "calendar/lunar_tables.h"

namespace dayledger::lunar {
namespace {

constexpr int MonthLength(char code) {
  return code == '1' || code == '3' ? 29 : code == '0' ? 0 : 30;
}
constexpr bool IsLeapCode(char code) { return code == '3' || code == '4'; }

constexpr int MonthSum(const char* row) {
  int sum = 0;
  for (int j = 0; j < 13; ++j) sum += MonthLength(row[j]);
  return sum;
}

// The tables must agree with each other; a typo fails the build.
constexpr bool TablesAgree() {
  int leap_years = 0;
  for (int i = 0; i < kYearCount; ++i) {
    const char* row = kMonthTable[i];
    int leaps = 0;
    for (int j = 0; j < 13; ++j) {
      const char c = row[j];
      if (c < '0' || c > '4' || (c == '0' && j != 12)) return false;
      leaps += IsLeapCode(c);
    }
    if (row[13] != '\0' || IsLeapCode(row[0])) return false;
    if (leaps != (row[12] == '0' ? 0 : 1)) return false;
    if (kYearLength[i] != MonthSum(row)) return false;
    leap_years += leaps;
  }
  return leap_years == 60;
}

constexpr int TotalDays() {
  int total = 0;
  for (int length : kYearLength) total += length;
  return total;
}

static_assert(TablesAgree(), "the month and year length tables disagree");
static_assert(kYearLength[0] == 384 && kYearLength[1] == 355 && kYearLength[2] == 354 &&
              kYearLength[3] == 384 && kYearLength[kYearCount - 1] == 354);
static_assert(TotalDays() == 59534, "the table covers 1881-01-30 to 2044-01-29");

constexpr int SolarYearDays() {
  int days = 0;
  for (int length : kSolarMonthLength) days += length;
  return days;
}
static_assert(SolarYearDays() == 365 && kSolarMonthLength[1] == 28,
              "a common year; February gains its leap day by rule");

// Day number of 0001-01-01 is 1; lunar 1881-01-01 is solar 1881-01-30.
constexpr int64_t kDayBeforeTable = 686685;

int64_t DayNumber(int year, int month, int day) {
  const int64_t y = year - 1;
  int64_t n = 365 * y + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) n += SolarMonthLength(year, m);
  return n + day;
}

}  // namespace

bool IsGregorianLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int SolarMonthLength(int year, int month) {
  return month == 2 && IsGregorianLeapYear(year) ? 29 : kSolarMonthLength[month - 1];
}

Result<LunarDate> SolarToLunar(const SolarDate& solar) {
  const Status outside = Status::Failed(StatusKind::kOutOfRange, Path());
  if (solar.month < 1 || solar.month > 12 || solar.day < 1 ||
      solar.day > SolarMonthLength(solar.year, solar.month)) {
    return outside;
  }
  int64_t d = DayNumber(solar.year, solar.month, solar.day) - kDayBeforeTable;
  if (d < 1 || d > TotalDays()) return outside;

  int i = 0;
  while (d > kYearLength[i]) d -= kYearLength[i++];
  const char* row = kMonthTable[i];
  int regular = 0;
  int j = 0;
  for (;; ++j) {
    if (!IsLeapCode(row[j])) ++regular;
    if (d <= MonthLength(row[j])) break;
    d -= MonthLength(row[j]);
  }
  LunarDate lunar;
  lunar.year = static_cast<uint16_t>(kFirstYear + i);
  lunar.month = static_cast<uint16_t>(regular);
  lunar.day = static_cast<uint16_t>(d);
  lunar.leap = row[12] != '0' && IsLeapCode(row[j]);
  return lunar;
}

Result<SolarDate> LunarToSolar(const LunarDate& lunar) {
  const Status outside = Status::Failed(StatusKind::kOutOfRange, Path());
  if (lunar.year < kFirstYear || lunar.year >= kFirstYear + kYearCount || lunar.month < 1 ||
      lunar.month > 12 || lunar.day < 1) {
    return outside;
  }
  const int k = lunar.year - kFirstYear;
  int64_t t = 0;  // days of the table before the month asked for
  for (int i = 0; i < k; ++i) t += kYearLength[i];
  const char* row = kMonthTable[k];
  int target = lunar.month - 1;
  int j = 0;
  for (;; ++j) {
    if (IsLeapCode(row[j])) {
      t += MonthLength(row[j]);
      ++target;
    } else if (j == target) {
      break;
    } else {
      t += MonthLength(row[j]);
    }
  }
  // A leap month follows its regular month; the table is not asked whether
  // that month has one.
  if (lunar.leap) t += MonthLength(row[j]);
  t += lunar.day;
  if (t > TotalDays()) return outside;

  // From the table's days to solar 1881: lunar 1881-01-01 is day 30 of 1881.
  t += 29;
  int year = kFirstYear;
  while (t > (IsGregorianLeapYear(year) ? 366 : 365)) t -= IsGregorianLeapYear(year++) ? 366 : 365;
  int month = 1;
  while (t > SolarMonthLength(year, month)) t -= SolarMonthLength(year, month++);
  SolarDate solar;
  solar.year = static_cast<uint16_t>(year);
  solar.month = static_cast<uint16_t>(month);
  solar.day = static_cast<uint16_t>(t);
  return solar;
}

}  // namespace dayledger::lunar
