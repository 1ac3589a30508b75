#include "desktop/LoginCommands.h"

#include "desktop/MenuState.h"
#include "desktop/ServerTree.h"

namespace desktop {

void Login(WindowState& state) {
  // Every login initialises the API afresh; the login below reports failures.
  state.session.Initialize();
  // A failed login leaves the menus as they were, Restore with them.
  if (!state.session.LogIn()) return;
  EnableRestore(state, true);
  Mouse(state, true);
  state.tree.Clear();
  state.filters.Clear();
  state.listed.reset();
  FillTree(state.session, state.tree);
  Mouse(state, false);
}

void Logout(WindowState& state) {
  // The server's answer changes nothing here, so it is not kept.
  state.session.Logout();
  EnableRestore(state, false);
  state.tree.Clear();
  state.filters.Clear();
  state.listed.reset();
}

}  // namespace desktop
