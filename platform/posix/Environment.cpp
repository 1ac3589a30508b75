#include "platform/Environment.h"

#include <cstdlib>

namespace platform {

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

}  // namespace platform
