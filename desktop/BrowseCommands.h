#pragma once
// Choosing a database in the tree: its filters fill the filter list.
#include <string>
#include <vector>

#include "desktop/WindowState.h"
#include "essbase/Session.h"

namespace desktop {

// Click on tree node index (selects it first). Single-database mode only.
void NodeClick(WindowState& state, int index);

// Lists the filters of one database into the emptied filter list, each
// ticked; a dropped session logs in again and the listing is made once
// more. Returns the status; a failure has been reported and left the list
// empty.
int32_t ListFilters(WindowState& state, const std::string& application,
                    const std::string& database);

}  // namespace desktop
