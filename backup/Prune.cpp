#include "backup/Prune.h"

#include <filesystem>

#include "backup/BackupName.h"
#include "platform/FileStatus.h"
#include "platform/Path.h"
#include "platform/Rename.h"

namespace backup {

int PruneBackups(const std::string& folder, int keepDays, std::time_t now) {
  if (keepDays <= 0 || folder.empty()) return 0;
  const std::time_t oldest = now - static_cast<std::time_t>(keepDays) * 24 * 60 * 60;
  int removed = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(platform::PathOf(folder), ec)) {
    const std::string name = platform::TextOf(entry.path().filename());
    if (!IsBackupFileName(name) && !IsTemporaryFileName(name)) continue;
    const std::string path = platform::TextOf(entry.path());
    platform::EntryStatus status;
    if (!platform::StatusOfEntry(path, status) || !status.regular) continue;
    if (status.modified >= oldest) continue;
    if (platform::RemoveFile(path) == 0) ++removed;
  }
  return removed;
}

}  // namespace backup
