#pragma once
// Filter > Restore from Backup...: puts the filters a backup holds back into
// their own applications and databases, and deletes the ones the backed-up
// import created, after the user has seen what the backup holds.
#include <string>

#include "backup/BackupInfo.h"
#include "desktop/WindowState.h"

namespace desktop {

void RestoreFromBackup(WindowState& state);

// What the confirmation shows: the command, server and time, then the
// filters per database (at most MaxNamesShown names in all).
std::string BackupSummary(const backup::BackupInfo& info);
inline constexpr size_t MaxNamesShown = 20;

}  // namespace desktop
