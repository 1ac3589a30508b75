#include "backup/Prune.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "backup/BackupName.h"

namespace backup {

int PruneBackups(const std::string& folder, int keepDays, std::time_t now) {
  if (keepDays <= 0 || folder.empty()) return 0;
  const std::time_t oldest = now - static_cast<std::time_t>(keepDays) * 24 * 60 * 60;
  int removed = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (!IsBackupFileName(name) && !IsTemporaryFileName(name)) continue;
    struct stat st {};
    // lstat: a link is judged by itself and never followed out of the folder.
    if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (st.st_mtime >= oldest) continue;
    if (::unlink(entry.path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace backup
