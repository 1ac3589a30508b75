#include "platform/Environment.h"

#include <cstdlib>

#include "platform/win32/WideText.h"

namespace platform {

std::optional<std::string> Environment(const char* name) {
  const wchar_t* value = _wgetenv(win32::Widen(name).c_str());
  if (!value) return std::nullopt;
  return win32::Narrow(value);
}

}  // namespace platform
