#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

int OpenRegularFile(const std::string& path, RegularFileRefusal& refusal) {
  // O_NONBLOCK: opening a FIFO without a writer would wait for one.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    refusal = RegularFileRefusal::CannotOpen;
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    refusal = RegularFileRefusal::NotRegular;
    return -1;
  }
  // Reads of a regular file never wait: back to the ordinary mode.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  refusal = RegularFileRefusal::None;
  return fd;
}

}  // namespace platform
