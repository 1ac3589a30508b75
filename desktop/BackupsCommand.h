#pragma once
// Filter > Restore from Backup...: the Backups window. It lists the backups
// in the backups folder, newest first, shows for the one selected what
// restoring it would change on the server now, and restores it the way the
// open dialog's backup is restored.
#include "desktop/WindowState.h"

namespace desktop {

void ShowBackupsWindow(WindowState& state);

}  // namespace desktop
