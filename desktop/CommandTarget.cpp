#include "desktop/CommandTarget.h"

namespace desktop {

std::optional<SelectedDatabase> TreeSelectedDatabase(const NodeList& tree) {
  const int node = tree.Selected();
  if (node == 0 || tree.Parent(node) == 0) return std::nullopt;
  return SelectedDatabase{tree.Text(tree.Parent(node)), tree.Text(node)};
}

std::vector<std::string> TickedNames(const NodeList& filters) {
  std::vector<std::string> names;
  for (int i = 1; i <= filters.Count(); ++i)
    if (filters.Checked(i)) names.push_back(filters.Text(i));
  return names;
}

}  // namespace desktop
