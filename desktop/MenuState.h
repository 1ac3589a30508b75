#pragma once
// The menu items that change and the busy pointer.
#include "desktop/WindowState.h"

namespace desktop {

// Sets the four filter commands and the filter list for the current mode.
void ChangeMenu(WindowState& state, bool on);
// Change and Export follow whether any database is marked; nothing else moves.
void EnableForMarks(WindowState& state, bool anyMarked);
// Restore from Backup follows whether a login holds.
void EnableRestore(WindowState& state, bool loggedIn);
// true: the hourglass; false: the normal pointer.
void Mouse(WindowState& state, bool on);

}  // namespace desktop
