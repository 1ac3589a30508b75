#pragma once
// Names of files in a folder: renames in one step, removal. 0 or the errno
// value.
#include <string>

namespace platform {

// Renames `from` to `to`, replacing a file named `to` in one step.
int RenameReplacing(const std::string& from, const std::string& to);
// Renames `from` to `to` only when no file is named `to`: EEXIST when one is.
int RenameNoReplace(const std::string& from, const std::string& to);
int RemoveFile(const std::string& path);

}  // namespace platform
