#include "platform/Path.h"

namespace platform {

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(utf8);
}

std::string TextOf(const std::filesystem::path& path) {
  return path.string();
}

}  // namespace platform
