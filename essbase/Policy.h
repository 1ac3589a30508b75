#pragma once
// Logging in again part-way through a command: one mechanism, a policy per
// command. A backend that finds its login ended (ReloginStatus, an HTTP 401)
// asks the command's LoginAgain whether the step at hand is one to repeat;
// the policy says which steps are, on each path, and how the new login is
// made. The client library's path repeats the call the command's
// description names (the listing, a deletion, the activation, Import's row
// calls); over REST the same step is repeated at the level of the filter,
// one request. Commands without such a description repeat a whole-filter
// read, write or deletion once, and nothing else.
#include <initializer_list>
#include <set>

#include "essbase/Failure.h"

namespace essbase {

struct Policy {
  enum class Login {
    Never,   // an ended login fails the step like any other status
    Prompt,  // the login prompt, as Reconnect shows it
    Quiet,   // a login with the stored server, user and password
  };
  Login login = Login::Never;
  std::set<Step> library;  // steps repeated on the client library's path
  std::set<Step> rest;     // steps repeated over REST

  bool Repeats(Step step, bool overRest) const {
    if (login == Login::Never) return false;
    return (overRest ? rest : library).contains(step);
  }
};

namespace policy {

inline Policy Of(Policy::Login login, std::initializer_list<Step> library,
                 std::initializer_list<Step> rest) {
  return {login, std::set<Step>(library), std::set<Step>(rest)};
}

// Nothing is repeated: QuorvelCL's export and import, the refill of the
// filter list after a command.
inline Policy None() {
  return {};
}
// A click on a database, and Export: the listing.
inline Policy Listing() {
  return Of(Policy::Login::Prompt, {Step::ListFilters}, {Step::ListFilters});
}
// Import: each row call; over REST the filter's one request.
inline Policy ImportRows() {
  return Of(Policy::Login::Prompt, {Step::WriteRow}, {Step::WriteFilter});
}
inline Policy Deletion() {
  return Of(Policy::Login::Prompt, {Step::DeleteFilter}, {Step::DeleteFilter});
}
// Change Access: the activation (its write pass has a retry protocol of its own).
inline Policy Activation() {
  return Of(Policy::Login::Prompt, {Step::Activate}, {Step::Activate});
}
// Commands no description covers (Compare, the Backups window, Restore, the
// backups before a write, QuorvelCL's diff and restore): a whole-filter
// read, write or deletion, once.
inline Policy WholeFilters(Policy::Login login) {
  return Of(login, {Step::ReadFilter, Step::WriteFilter, Step::DeleteFilter},
            {Step::ReadFilter, Step::WriteFilter, Step::DeleteFilter});
}

}  // namespace policy

// What a backend asks of the command's session when its login ended.
class LoginAgain {
 public:
  virtual ~LoginAgain() = default;
  // Whether the command's policy repeats `step` after a new login.
  virtual bool Repeats(Step step) const = 0;
  // Logs in again for `step` when the policy repeats it; true when the step
  // is then to be made once more (also after a new login that failed, as
  // the command's description says), false when it fails as it is.
  virtual bool Again(Step step) = 0;
  // Whether the command logs in again at all; the new login's success.
  // A server that stopped answering is tried once more this way before the
  // command gives up on it.
  virtual bool LogsInAgain() const = 0;
  virtual bool TryLogin() = 0;
};

// No login again: every step fails as it is.
class NoLoginAgain final : public LoginAgain {
 public:
  bool Repeats(Step) const override { return false; }
  bool Again(Step) override { return false; }
  bool LogsInAgain() const override { return false; }
  bool TryLogin() override { return false; }
};

}  // namespace essbase
