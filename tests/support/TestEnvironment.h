#pragma once
// The process's environment and time zone for tests, on either system.
#include <cstdlib>
#include <ctime>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace testing_support {

#ifdef _WIN32
// Values are UTF-8, as everywhere in the programs.
inline std::wstring Wide(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring wide(n > 0 ? n : 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), n);
  wide.resize(wide.size() - 1);
  return wide;
}
#endif

inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
  _wputenv_s(Wide(name).c_str(), Wide(value).c_str());
#else
  ::setenv(name, value, 1);
#endif
}

inline void UnsetEnv(const char* name) {
#ifdef _WIN32
  _wputenv_s(Wide(name).c_str(), L"");
#else
  ::unsetenv(name);
#endif
}

// Null unsets it: the system's own zone.
inline void SetZone(const char* tz) {
  tz ? SetEnv("TZ", tz) : UnsetEnv("TZ");
#ifdef _WIN32
  _tzset();
#else
  ::tzset();
#endif
}

}  // namespace testing_support
