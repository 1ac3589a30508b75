#include "platform/Path.h"

#include "platform/win32/WideText.h"

namespace platform {

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(win32::Widen(utf8));
}

std::string TextOf(const std::filesystem::path& path) {
  return win32::Narrow(path.wstring());
}

}  // namespace platform
