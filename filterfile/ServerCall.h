#pragma once
// How a caller of the filter file operations watches and steers each server
// call: the desktop keeps every status and logs in again on cue, the
// command-line utility writes a run-log line.
#include <cstdint>
#include <functional>

#include "essbase/library/DefinitionGuard.h"
#include "essbase/library/Operation.h"

namespace filterfile {

enum class AfterFailure { GoOn, RetryOnce };

// A call as the hooks see it. Adding a row and closing the definition are one
// library operation (EsbSetFilterRow with a row or with none) but not one
// step: after a login again a row may be sent again, while a close would end
// a definition the new login never opened.
struct ServerCall {
  essbase::Operation operation;
  bool closesFilter = false;
  bool operator==(const ServerCall&) const = default;
};

inline constexpr ServerCall CloseFilterCall{essbase::Operation::EsbSetFilterRow, true};

struct CallHooks {
  // Status of every call, failed or not, repeats included.
  std::function<void(int32_t status)> onStatus;
  // A call returned non-zero. RetryOnce repeats it once (the hook has logged
  // in again by then); a repeat that fails calls the hook again and its answer
  // is not followed. Unset: GoOn.
  std::function<AfterFailure(ServerCall call, int32_t status)> onFailure;
  // The login's guard against committing a definition a writer left open:
  // told when a writer leaves one, asked before every call that writes a
  // definition. Unset: nothing is guarded (readers).
  essbase::DefinitionGuard* definitions = nullptr;
};

// EsbSetFilter and EsbSetFilterRow, with a row or closing.
bool WritesDefinition(ServerCall call);

// Runs `call`, reports its status through the hooks and repeats it once when
// asked. Returns the last status. A write call waits until the guard has
// discarded a definition left open; when it cannot, the call is not made and
// the guard's status is reported as its own.
int32_t RunCall(const CallHooks& hooks, ServerCall what, const std::function<int32_t()>& call);

}  // namespace filterfile
