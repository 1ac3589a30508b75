#include "platform/StateFolder.h"

#include <cstdlib>

namespace platform {

std::string StateFolder() {
  return StateFolderFrom(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

}  // namespace platform
