#include "platform/OutputFile.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <ext/stdio_filebuf.h>

#include "platform/win32/WideText.h"

namespace platform {

std::unique_ptr<std::filebuf> OpenOutputFile(const std::string& path, std::ios::openmode mode,
                                             char*, size_t size) {
  int flags = _O_BINARY | _O_NOINHERIT | ((mode & std::ios::in) ? _O_RDWR : _O_WRONLY);
  if (mode & std::ios::trunc) flags |= _O_CREAT | _O_TRUNC;
  if (mode & std::ios::app) flags |= _O_CREAT | _O_APPEND;
  int fd = -1;
  // Readers share it; a second writer is refused.
  const errno_t failed =
      _wsopen_s(&fd, win32::Widen(path).c_str(), flags, _SH_DENYWR, _S_IREAD | _S_IWRITE);
  if (failed != 0) {
    errno = failed;
    return nullptr;
  }
  if ((mode & std::ios::ate) && _lseeki64(fd, 0, SEEK_END) < 0) {
    const int error = errno;
    _close(fd);
    errno = error;
    return nullptr;
  }
  // The stream's own buffer of that size; it closes the descriptor.
  auto file = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(fd, mode & ~std::ios::trunc, size);
  if (!file->is_open()) {
    _close(fd);
    errno = EIO;
    return nullptr;
  }
  return file;
}

}  // namespace platform
