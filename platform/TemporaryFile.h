#pragma once
// Files that exist only for the program's own use: private to the user
// (mode 0600), never inherited by a child process, never an existing file.
#include <string>
#include <string_view>

namespace platform {

// Creates a new file named `prefix` and six random characters, opened for
// reading and writing; `path` is its name, `fd` -1 on a failure. Returns 0
// or the errno value.
int CreatePrivateFile(const std::string& prefix, int& fd, std::string& path);

// A private file without a name in the system's temporary folder (`prefix`
// starts the name it has for a moment): nothing is left behind however the
// program ends.
int CreateUnnamedTemporaryFile(std::string_view prefix, int& fd);

}  // namespace platform
