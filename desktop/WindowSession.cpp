#include "desktop/MenuState.h"
#include "desktop/Messages.h"
#include "desktop/WindowState.h"

namespace desktop {

void WindowSessionListener::LoginFailed(int32_t) {
  state_.port.ShowMessage(msg::LoginFailed, msg::LoginFailedTitle, MessageIcon::Critical,
                          MessageButtons::OK);
}

void WindowSessionListener::LoggedInAgain() {
  Mouse(state_, true);
}

}  // namespace desktop
