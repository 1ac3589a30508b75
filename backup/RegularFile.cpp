#include "backup/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace backup {

int OpenRegularFile(const std::string& path, std::string& reason) {
  // O_NONBLOCK: opening a FIFO without a writer would wait for one.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    reason = "cannot be opened";
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    reason = "is not a regular file";
    return -1;
  }
  // Reads of a regular file never wait: back to the ordinary mode.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace backup
