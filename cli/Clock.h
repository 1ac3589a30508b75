#pragma once
// Local date and time for the first run-log line.
#include <string>

namespace cli {

struct LocalTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

class SystemClock final : public Clock {
 public:
  LocalTime Now() override;
};

// General date form: short date, one blank, long time ("3/7/2026 1:05:09 PM").
std::string FormatGeneralDate(const LocalTime& t);

}  // namespace cli
