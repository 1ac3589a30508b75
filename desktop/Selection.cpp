#include "desktop/Selection.h"

#include "desktop/MarksAndMode.h"

namespace desktop {

Selection ReadSelection(const NodeList& tree, const NodeList& filters, bool allDatabases) {
  Selection s;
  s.allDatabases = allDatabases;
  if (s.allDatabases) {
    for (int i : MarkedDatabases(tree))
      s.databases.push_back({tree.Text(tree.Parent(i)), tree.Text(i)});
  } else {
    const int node = tree.Selected();
    // An application node (no parent) names no database.
    if (tree.Parent(node) != 0)
      s.databases.push_back({tree.Text(tree.Parent(node)), tree.Text(node)});
  }
  for (int i = 1; i <= filters.Count(); ++i)
    if (filters.Checked(i)) s.tickedFilters.push_back(filters.Text(i));
  return s;
}

Selection ReadSelection(const WindowState& state) {
  return ReadSelection(state.tree, state.filters, state.AllDatabasesMode());
}

}  // namespace desktop
