#include "platform/LocalTime.h"

namespace platform {

std::tm LocalTimeOf(std::time_t t) {
  std::tm tm{};
  localtime_s(&tm, &t);
  return tm;
}

long UtcOffsetOf(std::time_t t) {
  // The local fields read as if they were UTC, less the time itself.
  std::tm tm = LocalTimeOf(t);
  return static_cast<long>(_mkgmtime(&tm) - t);
}

std::tm LocalTimeNow() {
  return LocalTimeOf(std::time(nullptr));
}

}  // namespace platform
