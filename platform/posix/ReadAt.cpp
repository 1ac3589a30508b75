#include "platform/ReadAt.h"

#include <unistd.h>

#include <cerrno>

namespace platform {

int ReadAt(int fd, char* into, size_t size, uint64_t offset, size_t& got) {
  got = 0;
  ssize_t n;
  do {
    n = ::pread(fd, into, size, static_cast<off_t>(offset));
  } while (n < 0 && errno == EINTR);
  if (n < 0) return errno;
  got = static_cast<size_t>(n);
  return 0;
}

}  // namespace platform
