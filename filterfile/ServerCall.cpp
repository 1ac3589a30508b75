#include "filterfile/ServerCall.h"

#include "essbase/Constants.h"

namespace filterfile {

namespace {

AfterFailure Report(const CallHooks& hooks, ServerCall what, int32_t status) {
  if (hooks.definitions && status == essbase::ReloginStatus) hooks.definitions->LoginEnded();
  if (hooks.onStatus) hooks.onStatus(status);
  if (status == 0 || !hooks.onFailure) return AfterFailure::GoOn;
  return hooks.onFailure(what, status);
}

}  // namespace

bool WritesDefinition(ServerCall call) {
  return call.operation == essbase::Operation::EsbSetFilter ||
         call.operation == essbase::Operation::EsbSetFilterRow;
}

int32_t RunCall(const CallHooks& hooks, ServerCall what, const std::function<int32_t()>& call) {
  const auto attempt = [&] {
    if (hooks.definitions && WritesDefinition(what))
      if (const int32_t status = hooks.definitions->BeforeWrite(); status != 0) return status;
    return call();
  };
  int32_t status = attempt();
  if (Report(hooks, what, status) == AfterFailure::RetryOnce) {
    status = attempt();
    Report(hooks, what, status);
  }
  return status;
}

}  // namespace filterfile
