#include "essbase/Session.h"

#include "essbase/ServerAddress.h"

namespace essbase {

namespace {

std::string Trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

Session::Session(Server& primary, ConnectionState& conn, Generation generation,
                 SessionListener& listener, RestMaker rest)
    : primary_(primary),
      conn_(conn),
      generation_(generation),
      listener_(listener),
      makeRest_(std::move(rest)),
      current_(&primary) {
  primary_.SetLoginAgain(this);
}

Session::~Session() {
  primary_.SetLoginAgain(nullptr);
  if (prompt_) primary_.SetLoginPrompt(nullptr);
}

void Session::Initialize(std::string_view localPath) {
  started_ = primary_.Start(generation_, localPath);
}

bool Session::SetLoginPrompt(LoginPrompt prompt) {
  prompt_ = prompt;
  return primary_.SetLoginPrompt(std::move(prompt));
}

Failure Session::LogInOverRest(const Credentials& c) {
  // The answers are kept as the library's prompt keeps them: the user is
  // offered again at the next login.
  conn_.Server = c.server;
  conn_.User = c.user;
  conn_.Password = c.password;
  if (!makeRest_) {
    Failure f = FailureOf(Step::LogIn, ESB_STS_UNKNOWN_SERVER);
    f.detail = "this program reaches no server over REST";
    conn_.Status = f.status;
    return f;
  }
  std::unique_ptr<Server> rest = makeRest_();
  rest->SetLoginAgain(this);
  Failure f = rest->LogIn(c);
  conn_.Status = f.status;
  if (f) return f;
  if (rest_) rest_->SetLoginAgain(nullptr);
  rest_ = std::move(rest);
  current_ = rest_.get();
  conn_.Access = 0;  // the REST API tells no access code at login
  return f;
}

bool Session::Use(Failure f) {
  loginFailure_ = f;
  if (f && f.status != LoginCancelled) listener_.LoginFailed(f);
  return !f;
}

bool Session::LogIn() {
  std::optional<Credentials> elsewhere;
  Failure f;
  if (!started_ && !primary_.OverRest()) {
    f = primary_.PromptLogIn(elsewhere);
    if (!f && !elsewhere) current_ = &primary_;
  } else if (prompt_) {
    // The client library did not start: the host's prompt is asked here,
    // and only a URL can be served.
    Credentials c{"", conn_.User, conn_.Password};
    const int32_t answer = prompt_(c.server, c.user, c.password);
    c.server = Trimmed(c.server);
    if (answer != 0)
      f = FailureOf(Step::LogIn, answer);
    else if (IsServerUrl(c.server))
      elsewhere = c;
    else
      f = started_ ? started_ : FailureOf(Step::LogIn, ESB_STS_UNKNOWN_SERVER);
  } else {
    f = started_ ? started_ : FailureOf(Step::LogIn, LoginCancelled);
  }
  if (elsewhere) f = LogInOverRest(*elsewhere);
  conn_.Status = f.status;
  if (!f) failedAgain_ = false;
  return Use(f);
}

bool Session::ReconnectOverRest() {
  if (!prompt_) return Use(FailureOf(Step::LogIn, LoginCancelled));
  // The server that ended the login is offered again, whole.
  Credentials c{conn_.Server, conn_.User, conn_.Password};
  const int32_t answer = prompt_(c.server, c.user, c.password);
  c.server = Trimmed(c.server);
  Failure f;
  if (answer != 0) {
    f = FailureOf(Step::LogIn, answer);
  } else if (IsServerUrl(c.server) && NormalServer(c.server) == NormalServer(conn_.Server)) {
    // The backend at work logs in again: a command may be in the middle of
    // its calls, so it is never replaced under it.
    conn_.User = c.user;
    conn_.Password = c.password;
    f = current_->LogIn(c);
  } else if (IsServerUrl(c.server)) {
    f = LogInOverRest(c);
  } else {
    f = primary_.LogIn(c);
    if (!f) current_ = &primary_;
  }
  conn_.Status = f.status;
  return Use(f);
}

void Session::Reconnect() {
  const bool ok = OverRest() && current_ != &primary_ ? ReconnectOverRest() : LogIn();
  if (ok) listener_.LoggedInAgain();
}

int32_t Session::Login() {
  const Credentials c{conn_.Server, conn_.User, conn_.Password};
  // The backend at work logs in again, never replaced under a command.
  Failure f = current_->LogIn(c);
  loginFailure_ = f;
  conn_.Status = f.status;
  return f.status;
}

Failure Session::LogInWith(const Credentials& c) {
  Failure f = current_->LogIn(c);
  conn_.Status = f.status;
  loginFailure_ = f;
  if (!f) {
    conn_.Server = c.server;
    conn_.User = c.user;
    conn_.Password = c.password;
  }
  return f;
}

void Session::Logout() {
  current_->LogOut();
}

Session::Policed::~Policed() {
  if (session_) {
    session_->policy_ = previous_;
    session_->failedAgain_ = false;
  }
}

Session::Policed Session::Under(Policy policy) {
  Policy previous = policy_;
  policy_ = std::move(policy);
  failedAgain_ = false;
  return Policed(*this, std::move(previous));
}

bool Session::Repeats(Step step) const {
  return policy_.Repeats(step, OverRest());
}

bool Session::Again(Step step) {
  if (!Repeats(step)) return false;
  const bool rest = OverRest();
  // Over REST one failed login again ends the tries: a server that refuses
  // it would be asked once per filter otherwise.
  if (rest && failedAgain_) return false;
  if (policy_.login == Policy::Login::Prompt)
    Reconnect();
  else
    Login();
  if (conn_.Status != 0 && rest) {
    failedAgain_ = true;
    return false;
  }
  // The client library's path repeats the call whatever the login's outcome.
  return true;
}

bool Session::TryLogin() {
  if (!LogsInAgain() || failedAgain_) return false;
  // A server that stopped answering is asked once more with what the user
  // already gave; no prompt for what is no fault of theirs.
  if (Login() == 0) return true;
  failedAgain_ = true;
  return false;
}

}  // namespace essbase
