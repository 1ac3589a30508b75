#include "platform/Rename.h"

#include <windows.h>

#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace platform {

int RenameReplacing(const std::string& from, const std::string& to) {
  const bool moved = MoveFileExW(win32::Widen(from).c_str(), win32::Widen(to).c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  return moved ? 0 : win32::LastErrno();
}

int RenameNoReplace(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING a taken name fails the move.
  const bool moved =
      MoveFileExW(win32::Widen(from).c_str(), win32::Widen(to).c_str(), MOVEFILE_WRITE_THROUGH);
  return moved ? 0 : win32::LastErrno();
}

int RemoveFile(const std::string& path) {
  return DeleteFileW(win32::Widen(path).c_str()) ? 0 : win32::LastErrno();
}

}  // namespace platform
