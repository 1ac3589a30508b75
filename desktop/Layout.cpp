#include "desktop/Layout.h"

namespace desktop {

namespace {

constexpr int Margin = 120;
constexpr int ListTop = 700;

int TreeWidth(int width, bool allDatabases) {
  return allDatabases ? width - 400 : width / 2 - 300;
}

// Negative sizes never reach the control: that is what it would refuse.
void Width(WindowState& state, Control control, NodeList& list, int twips) {
  if (twips >= 0 && state.port.SetWidth(control, twips)) list.SetWidth(twips);
}

void Height(WindowState& state, Control control, int twips) {
  if (twips >= 0) state.port.SetHeight(control, twips);
}

}  // namespace

WindowLayout LayoutFor(int width, int height, bool allDatabases) {
  const int listHeight = height - 930 - 600;
  WindowLayout l;
  l.tree = {Margin, ListTop, TreeWidth(width, allDatabases), listHeight};
  l.filters = {width / 2 + Margin, ListTop, width / 2 - 300, listHeight};
  l.label1Left = Margin;
  l.label2Left = width / 2 + Margin;
  return l;
}

void ApplyTreeWidth(WindowState& state) {
  Width(state, Control::tree, state.tree, TreeWidth(state.windowWidth, state.AllDatabasesMode()));
}

void ApplyLayout(WindowState& state, int width, int height) {
  state.windowWidth = width;
  const WindowLayout l = LayoutFor(width, height, state.AllDatabasesMode());

  ApplyTreeWidth(state);
  Height(state, Control::tree, l.tree.height);
  state.port.SetTop(Control::tree, l.tree.top);
  state.port.SetLeft(Control::tree, l.tree.left);

  Width(state, Control::filters, state.filters, l.filters.width);
  Height(state, Control::filters, l.filters.height);
  state.port.SetTop(Control::filters, l.filters.top);
  state.port.SetLeft(Control::filters, l.filters.left);

  state.port.SetLeft(Control::Label1, l.label1Left);
  state.port.SetLeft(Control::Label2, l.label2Left);
}

void ApplyModeVisibility(WindowState& state) {
  const bool show = !state.AllDatabasesMode();
  state.filters.SetVisible(show);
  state.port.SetVisible(Control::filters, show);
  state.port.SetVisible(Control::Label2, show);
}

}  // namespace desktop
