#pragma once
// Calendar fields in the user's time zone.
#include <ctime>

namespace platform {

// `t` in local time (std::tm's fields: years since 1900, months from 0).
std::tm LocalTimeOf(std::time_t t);
// Now, in local time.
std::tm LocalTimeNow();
// How far the user's time zone was ahead of UTC at `t`, in seconds.
long UtcOffsetOf(std::time_t t);

}  // namespace platform
