#include "platform/Descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

int OpenForReading(const std::string& path, int& fd) {
  fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  return fd < 0 ? errno : 0;
}

int WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    // A write that takes nothing would be retried forever.
    if (n <= 0) return n < 0 ? errno : EIO;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

bool WriteInOne(int fd, std::string_view bytes) {
  const ssize_t n = ::write(fd, bytes.data(), bytes.size());
  return n == static_cast<ssize_t>(bytes.size());
}

int FileSize(int fd, uint64_t& size) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return errno;
  size = static_cast<uint64_t>(st.st_size);
  return 0;
}

int SyncFile(int fd) {
  return ::fsync(fd) == 0 ? 0 : errno;
}

int CloseFile(int fd) {
  return ::close(fd) == 0 ? 0 : errno;
}

}  // namespace platform
