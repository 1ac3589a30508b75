#include "filterfile/ServerCall.h"

namespace filterfile {

namespace {

AfterFailure Report(const CallHooks& hooks, ServerCall what, int32_t status) {
  if (hooks.onStatus) hooks.onStatus(status);
  if (status == 0 || !hooks.onFailure) return AfterFailure::GoOn;
  return hooks.onFailure(what, status);
}

}  // namespace

int32_t RunCall(const CallHooks& hooks, ServerCall what, const std::function<int32_t()>& call) {
  int32_t status = call();
  if (Report(hooks, what, status) == AfterFailure::RetryOnce) {
    status = call();
    Report(hooks, what, status);
  }
  return status;
}

}  // namespace filterfile
