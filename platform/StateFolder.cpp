#include "platform/StateFolder.h"

namespace platform {

std::string StateFolderFrom(const char* xdgStateHome, const char* home) {
  if (xdgStateHome && xdgStateHome[0] == '/') return std::string(xdgStateHome) + "/quorvel";
  if (home && home[0] != '\0') return std::string(home) + "/.local/state/quorvel";
  return {};
}

}  // namespace platform
