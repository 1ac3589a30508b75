#include "desktop/MenuState.h"
#include "desktop/Messages.h"
#include "desktop/WindowState.h"

namespace desktop {

void WindowSessionListener::LoginFailed(int32_t) {
  state_.port.ShowMessage(WithServerText(state_, msg::LoginFailed, state_.conn.InstanceHandle),
                          msg::LoginFailedTitle, MessageIcon::Critical, MessageButtons::OK);
}

std::string WithServerText(WindowState& state, std::string_view text, essbase::Handle handle) {
  std::string out(text);
  if (const std::string said = state.session.api().FailureText(handle); !said.empty())
    out += msg::ServerSaid(said);
  return out;
}

void WindowSessionListener::LoggedInAgain() {
  Mouse(state_, true);
}

}  // namespace desktop
