#include "desktop/CommandTarget.h"

#include "desktop/BrowseCommands.h"
#include "desktop/MenuState.h"
#include "desktop/Messages.h"

namespace desktop {

std::optional<SelectedDatabase> TreeSelectedDatabase(const NodeList& tree) {
  const int node = tree.Selected();
  if (node == 0 || tree.Parent(node) == 0) return std::nullopt;
  return SelectedDatabase{tree.Text(tree.Parent(node)), tree.Text(node)};
}

bool ListShowsSelectedDatabase(WindowState& state) {
  const std::optional<SelectedDatabase> selected = TreeSelectedDatabase(state.tree);
  if (!selected || selected == state.listed) return true;
  const std::optional<SelectedDatabase> was = state.listed;
  if (ListFilters(state, selected->application, selected->database) != 0) return false;
  ChangeMenu(state, true);
  const std::string now = selected->application + "/" + selected->database;
  state.port.ShowMessage(
      was ? msg::ListWasOfAnotherDatabase(was->application + "/" + was->database, now)
          : msg::ListWasOfNoDatabase(now),
      msg::DefaultTitle, MessageIcon::Information, MessageButtons::OK);
  return false;
}

std::vector<std::string> TickedNames(const NodeList& filters) {
  std::vector<std::string> names;
  for (int i = 1; i <= filters.Count(); ++i)
    if (filters.Checked(i)) names.push_back(filters.Text(i));
  return names;
}

}  // namespace desktop
