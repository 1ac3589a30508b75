#include "LoginCommands.h"

#include "Connection.h"
#include "MenuState.h"
#include "Messages.h"
#include "ServerTree.h"

namespace desktop {

void Login(WindowState& state) {
  // Every login initialises the API afresh; the login below reports failures.
  essbase::InitializeApi(state.api, state.conn, state.generation);
  const int32_t r = essbase::AutoLogin(state.api, state.conn);
  if (r == essbase::LoginCancelled) return;
  if (r != 0) {
    state.port.ShowMessage(msg::LoginFailed, msg::LoginFailedTitle, MessageIcon::Critical,
                           MessageButtons::OK);
    return;
  }
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
