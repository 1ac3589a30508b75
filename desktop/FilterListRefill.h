#pragma once
// Showing a database's filters again after a command changed them.
#include <cstdint>

#include "desktop/SelectedDatabase.h"
#include "desktop/WindowState.h"

namespace desktop {

// Empties the list, lists the database's filters (no login again: the
// command has ended) and adds each as a database click does, then ticks
// every entry. Returns the status; on a failure the list stays empty, also
// when a name could not be fetched part-way (a list cut short would look
// complete). The window then knows which database the list shows.
int32_t RefillFilterList(WindowState& state, const SelectedDatabase& db);

}  // namespace desktop
