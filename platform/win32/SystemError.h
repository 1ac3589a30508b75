#pragma once
// Windows' error codes in the terms the rest of the programs use: errno
// values for reasons, and the system's own text for messages.
#include <string>

namespace platform::win32 {

// The errno value nearest to a GetLastError() code; EIO when none is near.
int ErrnoOf(unsigned long error);
// ErrnoOf(GetLastError()).
int LastErrno();
// The system's text for a GetLastError() code.
std::string SystemMessage(unsigned long error);

}  // namespace platform::win32
