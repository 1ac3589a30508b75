#include "platform/OutputFile.h"

namespace platform {

std::unique_ptr<std::filebuf> OpenOutputFile(const std::string& path, std::ios::openmode mode,
                                             char* buffer, size_t size) {
  auto file = std::make_unique<std::filebuf>();
  file->pubsetbuf(buffer, static_cast<std::streamsize>(size));
  if (!file->open(path, mode)) return nullptr;
  return file;
}

}  // namespace platform
