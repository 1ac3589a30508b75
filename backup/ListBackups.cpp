#include "backup/ListBackups.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "backup/BackupName.h"
#include "platform/Path.h"

namespace backup {

std::vector<ListedBackup> ListBackups(const std::string& folder) {
  // A stem once, whichever of its two files is there.
  std::set<std::string, std::greater<>> stems;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(platform::PathOf(folder), ec)) {
    const std::string name = platform::TextOf(entry.path().filename());
    if (IsBackupFileName(name)) stems.insert(StemOf(name));
  }
  std::vector<ListedBackup> listed;
  for (const std::string& stem : stems) {
    ListedBackup b;
    const std::string base = folder + "/" + stem;
    b.path = base + std::string(InfoExtension);
    if (!std::filesystem::exists(platform::PathOf(b.path), ec)) b.path = base + std::string(RecordsExtension);
    b.backup = LoadBackup(b.path, b.problem);
    if (b.backup) b.problem.clear();
    listed.push_back(std::move(b));
  }
  return listed;
}

}  // namespace backup
