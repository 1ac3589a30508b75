#pragma once
// How a filter command reads what it works on (both modes).
#include <string>
#include <vector>

#include "desktop/SelectedDatabase.h"
#include "desktop/WindowState.h"

namespace desktop {

struct Selection {
  bool allDatabases = false;
  // Single-database mode: the tree's selected database (none when no node is
  // selected or the selected node is an application). All-databases mode:
  // every marked database in tree order.
  std::vector<SelectedDatabase> databases;
  // The ticked filter-list entries in list order. In all-databases mode the
  // commands list each database's filters themselves; Export keeps only the
  // names found here.
  std::vector<std::string> tickedFilters;
};

Selection ReadSelection(const NodeList& tree, const NodeList& filters, bool allDatabases);
Selection ReadSelection(const WindowState& state);

}  // namespace desktop
