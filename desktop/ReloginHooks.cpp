#include "desktop/ReloginHooks.h"

#include <memory>

namespace desktop {

filterfile::CallHooks ReloginHooks(essbase::Session& session,
                                   std::function<bool(filterfile::ServerCall)> repeatable) {
  // The runner reports the repeat's status like any other and asks the
  // failure hook again when it fails: that answer must not log in twice.
  struct Repeat {
    bool asked = false;    // RetryOnce was answered; the next status is the repeat's
    bool running = false;  // the status being reported is the repeat's
  };
  auto repeat = std::make_shared<Repeat>();
  filterfile::CallHooks hooks;
  hooks.definitions = &session.definitions();
  hooks.onStatus = [&session, repeat](int32_t status) {
    session.conn().Status = status;
    repeat->running = repeat->asked;
    repeat->asked = false;
  };
  hooks.onFailure = [&session, repeat, repeatable = std::move(repeatable)](
                        filterfile::ServerCall call, int32_t status) {
    if (repeat->running || status != essbase::ReloginStatus || !repeatable(call))
      return filterfile::AfterFailure::GoOn;
    session.Reconnect();
    repeat->asked = true;
    return filterfile::AfterFailure::RetryOnce;
  };
  return hooks;
}

bool RowCallsOnly(filterfile::ServerCall call) {
  return call.operation == essbase::Operation::EsbSetFilterRow && !call.closesFilter;
}

}  // namespace desktop
