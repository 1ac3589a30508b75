#pragma once
// The backups in the backups folder, for a window that lists them: newest
// first (names begin with the time), each checked as a restore checks it,
// and one that does not check out kept with the reason.
#include <optional>
#include <string>
#include <vector>

#include "backup/LoadBackup.h"

namespace backup {

struct ListedBackup {
  std::string path;  // its description; its records when that is missing
  std::optional<LoadedBackup> backup;
  std::string problem;  // why it cannot be restored, when it cannot
};

std::vector<ListedBackup> ListBackups(const std::string& folder);

}  // namespace backup
