#pragma once
// What the filter commands read of the two lists.
#include <optional>
#include <string>
#include <vector>

#include "desktop/NodeList.h"
#include "desktop/Selection.h"

namespace desktop {

// The tree's selected node when it is a database (its parent names the
// application); nothing for an application node or no node.
std::optional<SelectedDatabase> TreeSelectedDatabase(const NodeList& tree);

// Texts of the ticked entries, in list order.
std::vector<std::string> TickedNames(const NodeList& filters);

}  // namespace desktop
