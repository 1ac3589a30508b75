#include "platform/win32/Handles.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/win32/SystemError.h"

namespace platform::win32 {

int OpenDescriptor(const std::wstring& path, unsigned long access, unsigned long disposition,
                   unsigned long flagsAndAttributes, int& error) {
  // A file being written is no one else's to write meanwhile; appends to
  // a run log are shared, each landing whole at the end.
  const DWORD share = (access & GENERIC_WRITE) != 0 ? FILE_SHARE_READ | FILE_SHARE_DELETE
                                                     : FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                           FILE_SHARE_DELETE;
  const HANDLE h = CreateFileW(path.c_str(), access, share, nullptr, disposition,
                               flagsAndAttributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = LastErrno();
    return -1;
  }
  // Without _O_TEXT the descriptor is binary.
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), 0);
  if (fd < 0) {
    error = EMFILE;
    CloseHandle(h);
    return -1;
  }
  error = 0;
  return fd;
}

void* HandleOf(int fd) {
  // A negative descriptor would reach the C runtime's handler of invalid
  // parameters, which ends the program.
  if (fd < 0) return nullptr;
  const intptr_t h = _get_osfhandle(fd);
  return h == -1 || h == -2 ? nullptr : reinterpret_cast<HANDLE>(h);
}

}  // namespace platform::win32
