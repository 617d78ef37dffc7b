// Conversion between Gregorian (solar) dates and Korean lunar dates for lunar
// years 1881 to 2043, from the built-in month table.
#pragma once

#include <cstdint>

#include "platform/status.h"

namespace dayledger::lunar {

struct SolarDate {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  bool operator==(const SolarDate&) const = default;
};

struct LunarDate {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  bool leap = false;
  bool operator==(const LunarDate&) const = default;
};

bool IsGregorianLeapYear(int year);
int SolarMonthLength(int year, int month);

// kOutOfRange for a date that is not a real Gregorian date from 1881-01-30
// to 2044-01-29.
Result<LunarDate> SolarToLunar(const SolarDate& solar);
// kOutOfRange for a year outside 1881 to 2043, a month outside 1 to 12, day
// 0, or a date that would pass the table's last day. A day past the month's
// end counts on into the following months.
Result<SolarDate> LunarToSolar(const LunarDate& lunar);

}  // namespace dayledger::lunar
