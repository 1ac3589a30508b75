#include "backup/RegularFile.h"

#include "platform/RegularFile.h"

namespace backup {

int OpenRegularFile(const std::string& path, std::string& reason) {
  platform::RegularFileRefusal refusal = platform::RegularFileRefusal::None;
  const int fd = platform::OpenRegularFile(path, refusal);
  if (refusal == platform::RegularFileRefusal::CannotOpen) reason = "cannot be opened";
  if (refusal == platform::RegularFileRefusal::NotRegular) reason = "is not a regular file";
  return fd;
}

}  // namespace backup
