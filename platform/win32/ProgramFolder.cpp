#include "platform/ProgramFolder.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace platform {

std::string BesideProgram(const std::string& name) {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (n == 0 || n >= path.size()) return {};
  path.resize(n);
  const std::string exe = win32::Narrow(path);
  const auto slash = exe.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1) + name;
}

}  // namespace platform
