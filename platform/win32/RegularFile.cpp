#include "platform/RegularFile.h"

#include <io.h>
#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace platform {

int OpenRegularFile(const std::string& path, RegularFileRefusal& refusal) {
  // Backup semantics open a folder too, so that it is told apart from a name
  // that cannot be opened. Opening a pipe or a device never waits.
  int error = 0;
  const int fd = win32::OpenDescriptor(win32::Widen(path), GENERIC_READ, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, error);
  if (fd < 0) {
    refusal = RegularFileRefusal::CannotOpen;
    return -1;
  }
  const HANDLE h = win32::HandleOf(fd);
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    _close(fd);
    refusal = RegularFileRefusal::NotRegular;
    return -1;
  }
  refusal = RegularFileRefusal::None;
  return fd;
}

}  // namespace platform
