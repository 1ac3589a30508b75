#pragma once
// The process's environment, in UTF-8 (Windows keeps it in UTF-16).
#include <optional>
#include <string>

namespace platform {

// Nullopt when the variable is not set.
std::optional<std::string> Environment(const char* name);

}  // namespace platform
