#include "platform/Library.h"

#include <windows.h>

#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace platform {

Library::Library(const std::string& name) {
  // The program's own folder comes first in the search, as $ORIGIN does.
  handle_ = LoadLibraryW(win32::Widen(name).c_str());
  if (handle_) return;
  error_ = name + ": " + win32::SystemMessage(GetLastError());
}

Library::Function Library::Symbol(const std::string& name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<Function>(GetProcAddress(static_cast<HMODULE>(handle_), name.c_str()));
}

}  // namespace platform
