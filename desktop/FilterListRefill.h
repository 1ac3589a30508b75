#pragma once
// Showing a database's filters again after a command changed them.
#include <cstdint>

#include "desktop/NodeList.h"
#include "desktop/Selection.h"
#include "essbase/Session.h"

namespace desktop {

// Empties the list, lists the database's filters (no login again: the
// command has ended) and adds each as a database click does, then ticks
// every entry. Returns the status; on a failure the list stays empty, also
// when a name could not be fetched part-way (a list cut short would look
// complete).
int32_t RefillFilterList(essbase::Session& session, NodeList& filters, const SelectedDatabase& db);

}  // namespace desktop
