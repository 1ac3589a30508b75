#include "LoginCommands.h"

#include "Connection.h"
#include "MenuState.h"
#include "ServerTree.h"

namespace desktop {

void Login(WindowState& state) {
  // Every login initialises the API afresh; the login below reports failures.
  essbase::InitializeApi(state.api, state.conn, state.generation);
  WindowScreen screen(state);
  if (!essbase::AutoLoginAndReport(state.api, state.conn, screen)) return;
  Mouse(state, true);
  state.tree.Clear();
  state.filters.Clear();
  FillTree(state);
  Mouse(state, false);
}

void Logout(WindowState& state) {
  // The server's answer changes nothing here, so it is not kept.
  state.api.EsbLogout(state.conn.ContextHandle);
  state.tree.Clear();
  state.filters.Clear();
}

}  // namespace desktop
