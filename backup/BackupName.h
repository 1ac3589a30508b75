#pragma once
// Backup names read as a history in a plain directory listing: time first
// (sortable), then server, command, and the application-database pair
//   20261208-083825_essdemo_import_Fin-Plan.txt
// "+2" after the pair says that two more databases are in the backup; ".2"
// before the extension tells apart two backups of one second. Bytes other
// than letters, digits, '.', '-' and '+' become '_' so that no name can leave
// the folder or hide from a listing.
#include <ctime>
#include <string>
#include <string_view>

namespace backup {

inline constexpr std::string_view RecordsExtension = ".txt";
inline constexpr std::string_view InfoExtension = ".info";

// Local time as "20261208-083825".
std::string NameTime(std::time_t t);
// Local time as "2026-12-08 08:38:25 +0100", for the description.
std::string DescriptionTime(std::time_t t);

// The name stem; `moreDatabases` counts the databases after the first one.
// `attempt` 1 gives the plain stem, 2 and up the ".N" of a second backup in
// the same second.
std::string BackupStem(std::time_t t, std::string_view server, std::string_view command,
                       std::string_view application, std::string_view database,
                       size_t moreDatabases, int attempt = 1);

// Whether a file name in the backups folder is a backup's (or a leftover
// temporary file of one), so that pruning never touches anything else.
bool IsBackupFileName(std::string_view name);
bool IsTemporaryFileName(std::string_view name);

// The stem of a backup file chosen by the user (either of its two files).
std::string StemOf(const std::string& path);

}  // namespace backup
