#pragma once
// What a folder entry is, judged by itself: a symbolic link is never
// followed out of its folder.
#include <ctime>
#include <string>

namespace platform {

struct EntryStatus {
  bool regular = false;  // a plain file (not a link, folder, FIFO or device)
  std::time_t modified = 0;
};

// False when the entry cannot be examined.
bool StatusOfEntry(const std::string& path, EntryStatus& status);

}  // namespace platform
