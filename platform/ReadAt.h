#pragma once
// Reading at a position of a file without moving the position writes use.
#include <cstddef>
#include <cstdint>

namespace platform {

// Reads up to `size` bytes at `offset` into `into`; `got` is 0 at or past the
// end. An interrupted read is repeated. Returns 0 or the errno value.
int ReadAt(int fd, char* into, size_t size, uint64_t offset, size_t& got);

}  // namespace platform
