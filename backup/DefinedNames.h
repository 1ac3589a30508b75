#pragma once
// The filter names an import file defines, read with the ordinary reader, so
// that the backup before an import saves exactly what the import replaces.
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "backup/LoadBackup.h"
#include "backup/TakeBackup.h"

namespace backup {

// Each name once, as the server will name it, in the order of first
// appearance; nothing when the file cannot be read to its end (then no
// backup can be complete). `tooLongLine`, when given, receives the number of
// a line longer than any record that stopped the reading, else 0.
std::optional<std::vector<std::string>> NamesDefinedBy(std::istream& in,
                                                       uint64_t* tooLongLine = nullptr);

// What a backup before an import into one database saves: the database's
// filters of those names, and which names the import creates.
Request ImportRequest(const std::string& server, const std::string& application,
                      const std::string& database, std::vector<std::string> names);

// What a backup before a restore saves, so that a restore can be undone as
// well: the filters the restore rewrites, deletes or creates.
Request RestoreRequest(const std::string& server, const BackupInfo& info);

}  // namespace backup
