#include "platform/LocalTime.h"

namespace platform {

std::tm LocalTimeOf(std::time_t t) {
  std::tm tm{};
  localtime_s(&tm, &t);
  return tm;
}

std::tm LocalTimeNow() {
  return LocalTimeOf(std::time(nullptr));
}

}  // namespace platform
