#pragma once
// An open file by its descriptor (on Windows the C runtime's). Failures come
// back as errno values, 0 meaning none.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Opens the file at `path` for reading; `fd` is -1 on a failure.
int OpenForReading(const std::string& path, int& fd);
// Writes every byte, resuming after short or interrupted writes.
int WriteAll(int fd, const char* data, size_t size);
// One write of `bytes`, never resumed (a second write could interleave with
// another process's): true only when it took every byte.
bool WriteInOne(int fd, std::string_view bytes);
// The file's size in bytes.
int FileSize(int fd, uint64_t& size);
// Waits until the file's bytes are on the disk.
int SyncFile(int fd);
int CloseFile(int fd);

}  // namespace platform
