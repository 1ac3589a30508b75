#include "desktop/MenuState.h"

namespace desktop {

namespace {

void Set(WindowState& state, bool MenuStates::*item, Control control, bool enabled) {
  state.menus.*item = enabled;
  state.port.SetEnabled(control, enabled);
}

}  // namespace

void ChangeMenu(WindowState& state, bool on) {
  const bool all = state.AllDatabasesMode();
  Set(state, &MenuStates::Change, Control::mnuChange, on);
  Set(state, &MenuStates::Export, Control::mnuExport, on);
  Set(state, &MenuStates::Delete, Control::mnuDelete, all ? false : on);
  Set(state, &MenuStates::Import, Control::mnuImport, all ? false : on);
  Set(state, &MenuStates::Compare, Control::mnuCompare, all ? false : on);
  state.filters.SetEnabled(on);
  state.port.SetEnabled(Control::filters, on);
}

void EnableForMarks(WindowState& state, bool anyMarked) {
  Set(state, &MenuStates::Change, Control::mnuChange, anyMarked);
  Set(state, &MenuStates::Export, Control::mnuExport, anyMarked);
}

void EnableRestore(WindowState& state, bool loggedIn) {
  state.port.SetEnabled(Control::mnuRestore, loggedIn);
}

void Mouse(WindowState& state, bool on) {
  state.busy = on;
  state.port.SetBusy(on);
}

}  // namespace desktop
