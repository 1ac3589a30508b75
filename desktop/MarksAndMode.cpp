#include "desktop/MarksAndMode.h"

#include "desktop/Layout.h"
#include "desktop/MenuState.h"

namespace desktop {

void DblClick(WindowState& state) {
  NodeList& tree = state.tree;
  if (tree.Count() >= 1) {
    const int node = tree.Selected();
    if (tree.Image(node) == ImageDatabase)
      tree.SetImage(node, ImageMarkedDatabase);
    else if (tree.Image(node) == ImageMarkedDatabase)
      tree.SetImage(node, ImageDatabase);
  }
  EnableForMarks(state, CountMarked(tree) > 0);
}

std::vector<int> MarkedDatabases(const NodeList& tree) {
  std::vector<int> marked;
  for (int i = 1; i <= tree.Count(); ++i)
    if (tree.Image(i) == ImageMarkedDatabase) marked.push_back(i);
  return marked;
}

int CountMarked(const NodeList& tree) {
  return static_cast<int>(MarkedDatabases(tree).size());
}

void ModeClick(WindowState& state, int value) {
  state.chkAll = value == 1 ? 1 : 0;
  ApplyModeVisibility(state);
  ApplyTreeWidth(state);
  if (state.menus.Import) ChangeMenu(state, true);
}

void FilterListMouseDown(WindowState& state, int button) {
  // A disabled or hidden list receives no clicks.
  if (button != 2 || !state.filters.Enabled() || !state.filters.Visible()) return;
  state.port.PopupOtherMenu();
}

void TickAll(NodeList& filters, bool ticked) {
  for (int i = 1; i <= filters.Count(); ++i) filters.SetChecked(i, ticked);
}

}  // namespace desktop
