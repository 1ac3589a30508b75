#include "platform/Folder.h"

#include <windows.h>

#include <cerrno>

#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace platform {

int MakePrivateFolder(const std::string& folder) {
  // A new folder takes the permissions of the user's folder above it.
  const std::wstring path = win32::Widen(folder);
  if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return win32::LastErrno();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return win32::LastErrno();
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ENOTDIR;
  return 0;
}

void MakePrivateFoldersAbove(const std::string& file) {
  for (size_t slash = file.find_first_of("\\/", 1); slash != std::string::npos;
       slash = file.find_first_of("\\/", slash + 1))
    CreateDirectoryW(win32::Widen(file.substr(0, slash)).c_str(), nullptr);
}

void SyncFolder(const std::string&) {
  // Nothing to do: the renames were made with MOVEFILE_WRITE_THROUGH.
}

}  // namespace platform
