#include "desktop/Layout.h"

namespace desktop {

namespace {

// Negative sizes never reach the control: that is what it would refuse.
void Width(WindowState& state, Control control, NodeList& list, int twips) {
  if (twips >= 0 && state.port.SetWidth(control, twips)) list.SetWidth(twips);
}

void Height(WindowState& state, Control control, int twips) {
  if (twips >= 0) state.port.SetHeight(control, twips);
}

}  // namespace

void ApplyTreeWidth(WindowState& state) {
  const int w = state.windowWidth;
  Width(state, Control::tree, state.tree, state.AllDatabasesMode() ? w - 400 : w / 2 - 300);
}

void ApplyLayout(WindowState& state, int width, int height) {
  state.windowWidth = width;
  const int listHeight = height - 930 - 600;

  ApplyTreeWidth(state);
  Height(state, Control::tree, listHeight);
  state.port.SetTop(Control::tree, 700);
  state.port.SetLeft(Control::tree, 120);

  Width(state, Control::filters, state.filters, width / 2 - 300);
  Height(state, Control::filters, listHeight);
  state.port.SetTop(Control::filters, 700);
  state.port.SetLeft(Control::filters, width / 2 + 120);

  state.port.SetLeft(Control::Label1, 120);
  state.port.SetLeft(Control::Label2, width / 2 + 120);
}

void ApplyModeVisibility(WindowState& state) {
  const bool show = !state.AllDatabasesMode();
  state.filters.SetVisible(show);
  state.port.SetVisible(Control::filters, show);
  state.port.SetVisible(Control::Label2, show);
}

}  // namespace desktop
