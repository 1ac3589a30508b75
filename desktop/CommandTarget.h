#pragma once
// What the filter commands read of the two lists.
#include <optional>
#include <string>
#include <vector>

#include "desktop/NodeList.h"
#include "desktop/Selection.h"
#include "desktop/WindowState.h"

namespace desktop {

// The tree's selected node when it is a database (its parent names the
// application); nothing for an application node or no node.
std::optional<SelectedDatabase> TreeSelectedDatabase(const NodeList& tree);

// Whether a command of single-database mode may go on: true unless the tree's
// selected database is not the one whose filters the list shows. Then the
// list is filled for the selected database, as a click on it does, the user
// is told to check the ticks and choose the command again, and false is
// returned: ticks of one database are never applied to another.
bool ListShowsSelectedDatabase(WindowState& state);

// Texts of the ticked entries, in list order.
std::vector<std::string> TickedNames(const NodeList& filters);

}  // namespace desktop
