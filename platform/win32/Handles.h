#pragma once
// Files opened through Windows itself, handed out as C runtime descriptors:
// shared for reading and deleting, so that a file open somewhere can still be
// removed or renamed as on POSIX (though Windows refuses to replace it), and
// for writing only when opened to append; never inherited by a child
// process, and always binary (no CR LF translation).
#include <string>

namespace platform::win32 {

// A descriptor over CreateFileW(path, access, ..., disposition, flagsAndAttributes);
// -1 with `error` an errno value on a failure.
int OpenDescriptor(const std::wstring& path, unsigned long access, unsigned long disposition,
                   unsigned long flagsAndAttributes, int& error);
// The handle behind a descriptor; null when it is not open.
void* HandleOf(int fd);

}  // namespace platform::win32
