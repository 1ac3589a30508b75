#include "platform/Descriptor.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace platform {

int OpenForReading(const std::string& path, int& fd) {
  int error = 0;
  fd = win32::OpenDescriptor(win32::Widen(path), GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             error);
  return error;
}

int WriteAll(int fd, const char* data, size_t size) {
  if (fd < 0) return EBADF;
  while (size > 0) {
    const auto step = static_cast<unsigned>(std::min<size_t>(size, INT_MAX));
    const int n = _write(fd, data, step);
    if (n <= 0) return n < 0 ? errno : EIO;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

bool WriteInOne(int fd, std::string_view bytes) {
  if (fd < 0 || bytes.size() > INT_MAX) return false;
  return _write(fd, bytes.data(), static_cast<unsigned>(bytes.size())) ==
         static_cast<int>(bytes.size());
}

int FileSize(int fd, uint64_t& size) {
  const HANDLE h = win32::HandleOf(fd);
  if (!h) return EBADF;
  LARGE_INTEGER bytes{};
  if (!GetFileSizeEx(h, &bytes)) return win32::LastErrno();
  size = static_cast<uint64_t>(bytes.QuadPart);
  return 0;
}

int SyncFile(int fd) {
  const HANDLE h = win32::HandleOf(fd);
  if (!h) return EBADF;
  // A handle opened for reading only cannot be flushed, and has nothing to flush.
  if (!FlushFileBuffers(h) && GetLastError() != ERROR_ACCESS_DENIED) return win32::LastErrno();
  return 0;
}

int CloseFile(int fd) {
  if (fd < 0) return EBADF;
  return _close(fd) == 0 ? 0 : errno;
}

}  // namespace platform
