#pragma once
// Restoring a backup: puts the filters it holds back into their own
// applications and databases, and deletes the ones the backed-up import
// created, after the user has seen what the backup holds.
#include <string>
#include <string_view>

#include "backup/BackupInfo.h"
#include "desktop/WindowState.h"

namespace desktop {

// A backup chosen with the open dialog in the backups folder (it may be kept
// anywhere), then RestoreBackupFile.
void RestoreFromBackup(WindowState& state);
// `file` is either file of the backup. It is checked whole, the user is
// asked, what it rewrites is saved, then it is restored and the outcome
// told; the Backups window's Restore and the open dialog both come here.
void RestoreBackupFile(WindowState& state, const std::string& file);

// A backed-up command as the menus name it.
std::string CommandWords(std::string_view command);

// What the confirmation shows: the command, server and time, then the
// filters per database (at most MaxNamesShown names in all).
std::string BackupSummary(const backup::BackupInfo& info);
inline constexpr size_t MaxNamesShown = 20;

}  // namespace desktop
