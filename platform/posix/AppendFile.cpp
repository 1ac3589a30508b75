#include "platform/AppendFile.h"

#include <fcntl.h>

namespace platform {

int OpenAppendFile(const std::string& path) {
  // O_APPEND moves to the end and writes in one step, for every writer.
  return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
}

}  // namespace platform
