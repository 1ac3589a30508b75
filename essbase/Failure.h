#pragma once
// A failed step of the server interface, as a value: what was being done, the
// status, the server's own words where it said any, and whether the outcome
// is known. A failure belongs to its step: nothing of it outlives the value.
#include <cstdint>
#include <string>
#include <string_view>

namespace essbase {

// What a program asks of a server, and the finer steps of the client
// library's path that a command's policy may repeat after a new login.
enum class Step {
  Start,
  LogIn,
  LogOut,
  ListApplications,
  ApplicationState,
  ListDatabases,
  ListFilters,
  Activate,
  StopApplication,
  ReadFilter,
  WriteFilter,
  DeleteFilter,
  // The client library's path only: one row call of a filter being written.
  WriteRow,
};

std::string_view StepName(Step step);

struct Failure {
  int32_t status = 0;  // 0: no failure
  Step step = Step::Start;
  std::string filter;  // the filter the step was about, where it has one
  // The call that failed: a client library operation ("EsbSetFilterRow") or
  // a request of the REST API ("PUT filter"). Empty when no call was made.
  std::string call;
  // Rows of the filter read or sent before the failed call.
  uint64_t rows = 0;
  // The server's own words, never a password; empty when it said nothing.
  std::string serverText;
  // The client's own words: why a call could not be made or its answer not
  // be used (a timeout, an answer that is not JSON). Never labelled as the
  // server's.
  std::string detail;
  // A write or deletion whose answer never came: the server may have done it.
  bool unknownOutcome = false;
  // The server gave no answer (and, where the command logs in again, the new
  // login got none either): every later step would fail alike.
  bool unreachable = false;

  bool failed() const { return status != 0; }
  explicit operator bool() const { return failed(); }
};

// A failure of `step` with `status`, nothing else known.
inline Failure FailureOf(Step step, int32_t status, std::string call = {}) {
  Failure f;
  f.step = step;
  f.status = status;
  f.call = std::move(call);
  return f;
}

}  // namespace essbase
