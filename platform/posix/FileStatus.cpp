#include "platform/FileStatus.h"

#include <sys/stat.h>

namespace platform {

bool StatusOfEntry(const std::string& path, EntryStatus& status) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return false;
  status.regular = S_ISREG(st.st_mode);
  status.modified = st.st_mtime;
  return true;
}

}  // namespace platform
