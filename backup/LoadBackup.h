#pragma once
// Opening a backup for a restore: its description is read and its records
// are checked against it, before anything is written to the server. A
// backup that does not check out is refused whole.
#include <map>
#include <optional>
#include <string>

#include "backup/BackupInfo.h"
#include "filterfile/TextEncoding.h"

namespace backup {

struct LoadedBackup {
  BackupInfo info;
  std::string recordsPath;
  std::string infoPath;
};

// `chosen`: either file of the backup. Nothing, with `reason` set, when the
// backup is missing, cut short or does not match its description.
std::optional<LoadedBackup> LoadBackup(const std::string& chosen, std::string& reason);

// The filters of `info` grouped by database (application, database), each
// database's in their order; one pass, however many databases there are.
using FiltersByDatabase =
    std::map<std::pair<std::string, std::string>, std::vector<const SavedFilter*>>;
FiltersByDatabase GroupFilters(const BackupInfo& info);

// The encoding of a backup's records file, from its first bytes: a reader of
// one database's range does not see them.
filterfile::FileEncoding RecordsEncoding(int fd);

}  // namespace backup
