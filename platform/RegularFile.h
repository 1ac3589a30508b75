#pragma once
// Opening a file for reading without ever waiting: a FIFO, a device or a
// folder named where a file is expected would block the open or the reads
// for good, or read forever.
#include <string>

namespace platform {

enum class RegularFileRefusal { None, CannotOpen, NotRegular };

// A descriptor (close it) of the regular file at `path`, whose reads then
// wait as a file's do; -1 with `refusal` set otherwise.
int OpenRegularFile(const std::string& path, RegularFileRefusal& refusal);

}  // namespace platform
