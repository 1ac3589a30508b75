#include "platform/FileMode.h"

#include <sys/stat.h>

#include <cerrno>

namespace platform {

int CopyFileMode(int from, int to) {
  struct stat st {};
  if (::fstat(from, &st) != 0) return errno;
  return ::fchmod(to, st.st_mode & 07777) == 0 ? 0 : errno;
}

}  // namespace platform
