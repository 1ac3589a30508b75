#pragma once
// Filling the filter list with a database's filters: the one place that
// does it, for a click on a database and after a command changed them.
#include "desktop/SelectedDatabase.h"
#include "desktop/WindowState.h"
#include "essbase/Failure.h"

namespace desktop {

// Empties the list, lists the database's filters and adds each ticked, as
// a click on a database adds them. On a failure the list stays empty, also
// when names were read before it: a list cut short would look complete.
// The window then knows which database the list shows. Logging in again
// follows the caller's session policy.
essbase::Failure FillFilterList(WindowState& state, const SelectedDatabase& db);

// After a command changed the filters: FillFilterList without a login again
// (the command has ended). Returns the status.
int32_t RefillFilterList(WindowState& state, const SelectedDatabase& db);

}  // namespace desktop
