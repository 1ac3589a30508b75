#include "cli/Clock.h"

#include <cstdio>

#include "platform/LocalTime.h"

namespace cli {

LocalTime SystemClock::Now() {
  const std::tm tm = platform::LocalTimeNow();
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatGeneralDate(const LocalTime& t) {
  int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char text[64];
  std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d %s", t.month, t.day, t.year, hour12,
                t.minute, t.second, t.hour < 12 ? "AM" : "PM");
  return text;
}

}  // namespace cli
