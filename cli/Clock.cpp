#include "cli/Clock.h"

#include <cstdio>
#include <ctime>

namespace cli {

LocalTime SystemClock::Now() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
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
