#include "desktop/Selection.h"

#include "desktop/MarksAndMode.h"

namespace desktop {

Selection ReadSelection(const WindowState& state) {
  Selection s;
  s.allDatabases = state.AllDatabasesMode();
  const NodeList& tree = state.tree;
  if (s.allDatabases) {
    for (int i : MarkedDatabases(tree))
      s.databases.push_back({tree.Text(tree.Parent(i)), tree.Text(i)});
  } else {
    const int node = tree.Selected();
    // An application node (no parent) names no database.
    if (tree.Parent(node) != 0)
      s.databases.push_back({tree.Text(tree.Parent(node)), tree.Text(node)});
  }
  const NodeList& filters = state.filters;
  for (int i = 1; i <= filters.Count(); ++i)
    if (filters.Checked(i)) s.tickedFilters.push_back(filters.Text(i));
  return s;
}

}  // namespace desktop
