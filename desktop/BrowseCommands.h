#pragma once
// Choosing a database in the tree: its filters fill the filter list.
#include "desktop/WindowState.h"

namespace desktop {

// Click on tree node index (selects it first). Single-database mode only.
void NodeClick(WindowState& state, int index);
// Lists the filters of one database into the emptied filter list, each
// ticked. Returns the status; a failure has been reported and left the list
// empty.
int32_t ListFilters(WindowState& state, const std::string& application,
                    const std::string& database);

}  // namespace desktop
