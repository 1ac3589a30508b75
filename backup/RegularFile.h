#pragma once
// Opening a file of a backup for reading without ever waiting on the way: a
// FIFO, a device or a directory named where a backup's file should be would
// block the open or the reading for good, or read forever.
#include <string>

namespace backup {

// A descriptor (close it) of the regular file at `path`, or -1 with `reason`
// set ("cannot be opened", "is not a regular file").
int OpenRegularFile(const std::string& path, std::string& reason);

}  // namespace backup
