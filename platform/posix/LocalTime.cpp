#include "platform/LocalTime.h"

namespace platform {

std::tm LocalTimeOf(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

long UtcOffsetOf(std::time_t t) {
  return LocalTimeOf(t).tm_gmtoff;
}

std::tm LocalTimeNow() {
  return LocalTimeOf(std::time(nullptr));
}

}  // namespace platform
