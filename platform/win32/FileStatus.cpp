#include "platform/FileStatus.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace platform {

bool StatusOfEntry(const std::string& path, EntryStatus& status) {
  // The attributes of a link are its own: it is not followed.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(win32::Widen(path).c_str(), GetFileExInfoStandard, &data)) return false;
  constexpr DWORD NotPlain =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  status.regular = (data.dwFileAttributes & NotPlain) == 0;
  // 100 ns steps since 1601 to seconds since 1970.
  const uint64_t ticks =
      (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  status.modified = static_cast<std::time_t>((ticks - 116444736000000000ull) / 10000000ull);
  return true;
}

}  // namespace platform
