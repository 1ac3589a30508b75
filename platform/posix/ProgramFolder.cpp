#include "platform/ProgramFolder.h"

#include <unistd.h>

#include <climits>

namespace platform {

std::string BesideProgram(const std::string& name) {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  std::string exe(path, static_cast<size_t>(n));
  auto slash = exe.rfind('/');
  return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1) + name;
}

}  // namespace platform
