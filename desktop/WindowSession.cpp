#include "desktop/MenuState.h"
#include "desktop/Messages.h"
#include "desktop/WindowState.h"

namespace desktop {

void WindowSessionListener::LoginFailed(const essbase::Failure& failure) {
  state_.port.ShowMessage(WithFailure(msg::LoginFailed, failure), msg::LoginFailedTitle,
                          MessageIcon::Critical, MessageButtons::OK);
}

std::string WithFailure(std::string_view text, const essbase::Failure& failure) {
  std::string out(text);
  if (!failure.serverText.empty()) out += msg::ServerSaid(failure.serverText);
  if (!failure.detail.empty()) out += msg::FailureDetail(failure.detail);
  return out;
}

void WindowSessionListener::LoggedInAgain() {
  Mouse(state_, true);
}

}  // namespace desktop
