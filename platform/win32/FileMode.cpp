#include "platform/FileMode.h"

#include <windows.h>

#include <cerrno>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemError.h"

namespace platform {

int CopyFileMode(int from, int to) {
  // Of the permission bits Windows keeps only "read-only" on the file; the
  // rest follows from the folder.
  const HANDLE source = win32::HandleOf(from);
  const HANDLE target = win32::HandleOf(to);
  if (!source || !target) return EBADF;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(source, &info)) return win32::LastErrno();
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(target, FileBasicInfo, &basic, sizeof basic))
    return win32::LastErrno();
  basic.FileAttributes = (basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY) |
                         (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
  if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  if (!SetFileInformationByHandle(target, FileBasicInfo, &basic, sizeof basic))
    return win32::LastErrno();
  return 0;
}

}  // namespace platform
