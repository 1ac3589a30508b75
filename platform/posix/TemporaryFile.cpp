#include "platform/TemporaryFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace platform {

int CreatePrivateFile(const std::string& prefix, int& fd, std::string& path) {
  std::string pattern = prefix + "XXXXXX";
  fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  path = std::move(pattern);
  return 0;
}

int CreateUnnamedTemporaryFile(std::string_view prefix, int& fd) {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) folder = "/tmp";
  std::string path;
  if (const int error = CreatePrivateFile((folder / prefix).string(), fd, path)) return error;
  ::unlink(path.c_str());
  return 0;
}

}  // namespace platform
