#pragma once
// The one way code talks to the server: the API, the connection record, and
// what a login made on a command's behalf needs from the user. A command
// takes a Session& and plain values; it never sees the window.
#include <cstdint>
#include <functional>

#include "essbase/ConnectionState.h"
#include "essbase/library/DefinitionGuard.h"
#include "essbase/library/EssbaseApi.h"
#include "essbase/Generation.h"

namespace essbase {

class SessionListener {
 public:
  virtual ~SessionListener() = default;
  // The login prompt ended with a failure other than the user's cancel.
  virtual void LoginFailed(int32_t status) = 0;
  // A login again succeeded while the calling command is still at work.
  virtual void LoggedInAgain() = 0;
};

class Session {
 public:
  // A server call given the context to use; it returns the call's status.
  using Call = std::function<int32_t(EssbaseApi& api, Handle context)>;

  Session(EssbaseApi& api, ConnectionState& conn, Generation generation, SessionListener& listener)
      : api_(api), conn_(conn), generation_(generation), listener_(listener), definitions_([this] {
          return LogInAgainQuietly();
        }) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  EssbaseApi& api() const { return api_; }
  ConnectionState& conn() const { return conn_; }
  Generation generation() const { return generation_; }
  Handle context() const { return conn_.ContextHandle; }
  int32_t status() const { return conn_.Status; }

  // Initialises the API afresh; the status is kept, not reported.
  void Initialize();
  // EsbLogout of the current context (its status is not kept); nothing of
  // that login remains to be discarded.
  void Logout();
  // The API's login prompt; a failure other than the user's cancel (status 1)
  // goes to the listener. True when logged in.
  bool LogIn();
  // LogIn after ReloginStatus; a success tells the listener that the command
  // is still at work. The caller reads status().
  void Reconnect();
  // EsbLogin with the stored server, user and password (the plain login
  // again of a retry): replaces the context, the old one is not logged out.
  // Returns the status, also kept.
  int32_t Login();

  // Runs call with the current context and keeps its status.
  int32_t Run(const Call& call);
  // Run; on ReloginStatus, Reconnect and repeat once with the new context,
  // whatever the login's outcome. Returns the last status, also kept.
  int32_t RunWithRelogin(const Call& call);
  // Run for a call that writes a filter definition: a definition a writer
  // left open on this login is discarded first (DefinitionGuard); when that
  // fails the call is not made and the failure's status is returned.
  int32_t RunWrite(const Call& call);

  // Where the writers say that they left a definition open.
  DefinitionGuard& definitions() { return definitions_; }

 private:
  EssbaseApi& api_;
  ConnectionState& conn_;
  const Generation generation_;
  SessionListener& listener_;
  DefinitionGuard definitions_;

  int32_t LogInAgainQuietly();
};

}  // namespace essbase
