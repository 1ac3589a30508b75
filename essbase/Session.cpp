#include "essbase/Session.h"

#include "essbase/library/Connection.h"

namespace essbase {

void Session::Initialize() {
  InitializeApi(api_, conn_, generation_);
}

void Session::Logout() {
  api_.EsbLogout(conn_.ContextHandle);
  definitions_.NewLogin();
}

bool Session::LogIn() {
  const int32_t r = AutoLogin(api_, conn_);
  if (r == 0) definitions_.NewLogin();
  if (r != 0 && r != LoginCancelled) listener_.LoginFailed(r);
  return r == 0;
}

void Session::Reconnect() {
  if (LogIn()) listener_.LoggedInAgain();
}

int32_t Session::Login() {
  int16_t count = 0;
  conn_.Status = api_.EsbLogin(conn_.InstanceHandle, conn_.Server.c_str(), conn_.User.c_str(),
                               conn_.Password.c_str(), count, conn_.ContextHandle);
  if (conn_.Status == 0) definitions_.NewLogin();
  return conn_.Status;
}

int32_t Session::LogInAgainQuietly() {
  api_.EsbLogout(conn_.ContextHandle);
  return Login();
}

int32_t Session::Run(const Call& call) {
  conn_.Status = call(api_, conn_.ContextHandle);
  if (conn_.Status == ReloginStatus) definitions_.LoginEnded();
  return conn_.Status;
}

int32_t Session::RunWithRelogin(const Call& call) {
  if (Run(call) == ReloginStatus) {
    Reconnect();
    Run(call);
  }
  return conn_.Status;
}

int32_t Session::RunWrite(const Call& call) {
  if (const int32_t status = definitions_.BeforeWrite(); status != 0) {
    conn_.Status = status;
    return status;
  }
  return Run(call);
}

}  // namespace essbase
