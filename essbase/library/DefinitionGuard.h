#pragma once
// A filter definition opened with EsbSetFilter stays open on its login until
// a closing EsbSetFilterRow commits it, whoever sends that call. A writer
// that decides not to commit one (a row did not get in, the user cancelled
// a change) says so here, and the login takes no further write until the
// definition is gone: before the next write call it is ended and a new login
// with the same credentials replaces it, which discards the definition on
// the server. One rule for every writer of both programs; the owner of the
// login (Session, QuorvelCL's run) says how to log in again.
#include <cstdint>
#include <functional>
#include <utility>

namespace essbase {

class DefinitionGuard {
 public:
  // Ends the login and logs in again with the same credentials, replacing
  // the context the callers read; returns the login's status.
  using Relogin = std::function<int32_t()>;

  explicit DefinitionGuard(Relogin relogin) : relogin_(std::move(relogin)) {}

  // A writer left the definition it opened unclosed.
  void LeftOpen() { leftOpen_ = !loginEnded_; }
  // The server ended the login (ReloginStatus): whatever was open on it is
  // gone, and later calls on it fail as they did before this guard.
  void LoginEnded() {
    loginEnded_ = true;
    leftOpen_ = false;
  }
  // The login was replaced by other means: nothing of the old one remains.
  void NewLogin() { leftOpen_ = loginEnded_ = false; }

  // Before a write call: 0 when it may go to the server, else the status of
  // the failed login again (the definition may still be open there, so the
  // write must not be made).
  int32_t BeforeWrite() {
    if (!leftOpen_) return 0;
    const int32_t status = relogin_();
    if (status == 0) leftOpen_ = false;
    return status;
  }

 private:
  Relogin relogin_;
  bool leftOpen_ = false;
  bool loginEnded_ = false;
};

}  // namespace essbase
