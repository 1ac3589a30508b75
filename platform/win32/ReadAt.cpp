#include "platform/ReadAt.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemError.h"

namespace platform {

int ReadAt(int fd, char* into, size_t size, uint64_t offset, size_t& got) {
  got = 0;
  const HANDLE h = win32::HandleOf(fd);
  if (!h) return EBADF;
  // A read at an offset moves the position of a synchronous handle, which
  // the file's writes go on from: it is put back.
  LARGE_INTEGER here{};
  if (!SetFilePointerEx(h, LARGE_INTEGER{}, &here, FILE_CURRENT)) return win32::LastErrno();
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD n = 0;
  const auto want = static_cast<DWORD>(std::min<size_t>(size, MAXDWORD));
  const bool read = ReadFile(h, into, want, &n, &at);
  const DWORD error = read ? ERROR_SUCCESS : GetLastError();
  SetFilePointerEx(h, here, nullptr, FILE_BEGIN);
  if (!read && error != ERROR_HANDLE_EOF) return win32::ErrnoOf(error);
  got = n;
  return 0;
}

}  // namespace platform
