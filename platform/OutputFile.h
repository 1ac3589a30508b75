#pragma once
// A file written through a stream (export files): on Windows no other
// process may write it while it is open, though any may read it.
#include <cstddef>
#include <fstream>
#include <memory>
#include <string>

namespace platform {

// Opens `path` in `mode` (as std::filebuf::open takes it, binary); `buffer`
// of `size` bytes serves it where the system allows. Null with errno set when
// it cannot be opened.
std::unique_ptr<std::filebuf> OpenOutputFile(const std::string& path, std::ios::openmode mode,
                                             char* buffer, size_t size);

}  // namespace platform
