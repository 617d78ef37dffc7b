// The solar-lunar conversions on any dates, both ways: no crash, no read
// outside the tables, and a round trip wherever the date is valid.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "calendar/lunar_calendar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace dayledger::lunar;
  uint16_t v[4] = {};
  std::memcpy(v, data, size < sizeof v ? size : sizeof v);
  const SolarDate solar{v[0], v[1], v[2]};
  if (const auto lunar = SolarToLunar(solar); lunar.ok()) {
    const auto back = LunarToSolar(*lunar);
    if (!back.ok() || !(*back == solar)) std::abort();
  }
  const LunarDate asked{v[0], v[1], v[2], (v[3] & 1) != 0};
  if (const auto day = LunarToSolar(asked); day.ok()) {
    const auto normal = SolarToLunar(*day);
    if (!normal.ok()) std::abort();
    const auto again = LunarToSolar(*normal);
    if (!again.ok() || !(*again == *day)) std::abort();
  }
  return 0;
}
