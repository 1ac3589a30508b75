#include "Layout.h"

namespace desktop {

namespace {

// Negative sizes never reach the control: that is what it would refuse.
bool Width(WindowState& state, Control control, NodeList& list, int twips) {
  if (twips < 0 || !state.port.SetWidth(control, twips)) return false;
  return list.SetWidth(twips);
}

void Height(WindowState& state, Control control, Geometry& g, int twips) {
  if (twips >= 0 && state.port.SetHeight(control, twips)) g.height = twips;
}

void Top(WindowState& state, Control control, Geometry& g, int twips) {
  if (state.port.SetTop(control, twips)) g.top = twips;
}

void Left(WindowState& state, Control control, Geometry& g, int twips) {
  if (state.port.SetLeft(control, twips)) g.left = twips;
}

}  // namespace

void ApplyTreeWidth(WindowState& state) {
  const int w = state.windowWidth;
  Width(state, Control::tree, state.tree, state.AllDatabasesMode() ? w - 400 : w / 2 - 300);
}

void ApplyLayout(WindowState& state, int width, int height) {
  state.windowWidth = width;
  state.windowHeight = height;
  const int listHeight = height - 930 - 600;

  ApplyTreeWidth(state);
  Height(state, Control::tree, state.treeGeometry, listHeight);
  Top(state, Control::tree, state.treeGeometry, 700);
  Left(state, Control::tree, state.treeGeometry, 120);

  Width(state, Control::filters, state.filters, width / 2 - 300);
  Height(state, Control::filters, state.filtersGeometry, listHeight);
  Top(state, Control::filters, state.filtersGeometry, 700);
  Left(state, Control::filters, state.filtersGeometry, width / 2 + 120);

  Left(state, Control::Label1, state.label1Geometry, 120);
  Left(state, Control::Label2, state.label2Geometry, width / 2 + 120);
}

void ApplyModeVisibility(WindowState& state) {
  const bool show = !state.AllDatabasesMode();
  state.filters.SetVisible(show);
  state.port.SetVisible(Control::filters, show);
  state.label2Visible = show;
  state.port.SetVisible(Control::Label2, show);
}

}  // namespace desktop
