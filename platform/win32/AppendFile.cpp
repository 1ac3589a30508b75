#include "platform/AppendFile.h"

#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace platform {

int OpenAppendFile(const std::string& path) {
  // Append data without write data: Windows puts every write at the end in
  // one step, for every writer. A new file takes the permissions of the
  // user's folder it is in.
  int error = 0;
  return win32::OpenDescriptor(win32::Widen(path), FILE_APPEND_DATA | SYNCHRONIZE, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, error);
}

}  // namespace platform
