#pragma once
// A file shared by several processes, each adding whole lines at its end:
// every write lands at the end as one piece, whoever wrote last.
#include <string>

namespace platform {

// Opens `path` for appending, creating it private to the user (0600) when
// missing; -1 when it cannot be opened. Write with WriteInOne.
int OpenAppendFile(const std::string& path);

}  // namespace platform
