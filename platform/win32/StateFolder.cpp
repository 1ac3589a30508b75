#include "platform/StateFolder.h"

#include <cstdlib>

#include "platform/win32/WideText.h"

namespace platform {

std::string StateFolder() {
  const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
  if (!local || !*local) return {};
  return win32::Narrow(local) + "\\Quorvel";
}

}  // namespace platform
