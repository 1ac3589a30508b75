#include "filterfile/ServerCall.h"

namespace filterfile {

namespace {

AfterFailure Report(const CallHooks& hooks, std::string_view operation, int32_t status) {
  if (hooks.onStatus) hooks.onStatus(status);
  if (status == 0 || !hooks.onFailure) return AfterFailure::GoOn;
  return hooks.onFailure(operation, status);
}

}  // namespace

int32_t RunCall(const CallHooks& hooks, std::string_view operation,
                const std::function<int32_t()>& call) {
  int32_t status = call();
  if (Report(hooks, operation, status) == AfterFailure::RetryOnce) {
    status = call();
    Report(hooks, operation, status);
  }
  return status;
}

}  // namespace filterfile
