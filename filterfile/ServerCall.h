#pragma once
// How a caller of the filter file operations watches and steers each server
// call: the desktop keeps every status and logs in again on cue, the
// command-line utility writes a run-log line.
#include <cstdint>
#include <functional>
#include <string_view>

namespace filterfile {

enum class AfterFailure { GoOn, RetryOnce };

struct CallHooks {
  // Status of every call, failed or not, repeats included.
  std::function<void(int32_t status)> onStatus;
  // A call returned non-zero. RetryOnce repeats it once (the hook has logged
  // in again by then); a repeat that fails calls the hook again and its answer
  // is not followed. Unset: GoOn.
  std::function<AfterFailure(std::string_view operation, int32_t status)> onFailure;
};

// Runs `call`, reports its status through the hooks and repeats it once when
// asked. Returns the last status.
int32_t RunCall(const CallHooks& hooks, std::string_view operation,
                const std::function<int32_t()>& call);

}  // namespace filterfile
