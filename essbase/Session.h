#pragma once
// The one way code talks to the server: the backend of the current login,
// the connection record, the command's policy for logging in again, and what
// a login made on a command's behalf needs from the user. The backend is
// chosen once, at login, by the server's name: an http:// or https:// URL
// goes to the REST backend, any other name to the client library's.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "essbase/ConnectionState.h"
#include "essbase/Generation.h"
#include "essbase/Policy.h"
#include "essbase/Server.h"

namespace essbase {

class SessionListener {
 public:
  virtual ~SessionListener() = default;
  // A login ended with a failure other than the user's cancel.
  virtual void LoginFailed(const Failure& failure) = 0;
  // A login again succeeded while the calling command is still at work.
  virtual void LoggedInAgain() = 0;
};

// Makes a REST backend, one per login over REST.
using RestMaker = std::function<std::unique_ptr<Server>()>;

class Session final : public LoginAgain {
 public:
  // `primary` serves server names (the client library's backend; in
  // QuorvelCL the backend its -s chose); `rest`, when given, URLs.
  Session(Server& primary, ConnectionState& conn, Generation generation,
          SessionListener& listener, RestMaker rest = {});
  ~Session() override;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The backend of the current login (the primary one before any).
  Server& server() const { return *current_; }
  ConnectionState& conn() const { return conn_; }
  Generation generation() const { return generation_; }
  int32_t status() const { return conn_.Status; }
  bool OverRest() const { return current_->OverRest(); }

  // Starts the primary backend afresh; the status is kept, not reported.
  void Initialize(std::string_view localPath = DesktopLocalPath);
  // The login prompt; a failure other than the user's cancel (status 1)
  // goes to the listener. True when logged in.
  bool LogIn();
  // LogIn after the server ended the login; a success tells the listener
  // that the command is still at work. Over REST the prompt offers the
  // server's URL.
  void Reconnect();
  // A login with the stored server, user and password (the plain login
  // again of a retry). Returns the status, also kept.
  int32_t Login();
  // A login with these credentials on the current backend (QuorvelCL's),
  // which are then the stored ones for a login again.
  Failure LogInWith(const Credentials& credentials);
  // Ends the current login (its status is not kept).
  void Logout();
  // Lends the host's prompt; true when the client library took it (a real
  // one shows its own).
  bool SetLoginPrompt(LoginPrompt prompt);
  // Why the last login failed, when it did.
  const Failure& loginFailure() const { return loginFailure_; }

  // The command's policy for as long as the returned value lives.
  class Policed {
   public:
    Policed(Policed&& other) noexcept : session_(other.session_), previous_(other.previous_) {
      other.session_ = nullptr;
    }
    Policed& operator=(Policed&&) = delete;
    ~Policed();

   private:
    friend class Session;
    Policed(Session& session, Policy previous) : session_(&session), previous_(previous) {}
    Session* session_;
    Policy previous_;
  };
  [[nodiscard]] Policed Under(Policy policy);

  // LoginAgain, for the backends.
  bool Repeats(Step step) const override;
  bool Again(Step step) override;
  bool LogsInAgain() const override { return policy_.login != Policy::Login::Never; }
  bool TryLogin() override;

 private:
  Failure LogInOverRest(const Credentials& credentials);
  bool Use(Failure failure);
  bool ReconnectOverRest();

  Server& primary_;
  ConnectionState& conn_;
  const Generation generation_;
  SessionListener& listener_;
  RestMaker makeRest_;
  std::unique_ptr<Server> rest_;
  Server* current_;
  LoginPrompt prompt_;
  Failure started_;  // the primary backend's start
  Failure loginFailure_;
  Policy policy_;
  // Over REST a login again that failed is not tried again in one command.
  bool failedAgain_ = false;
};

}  // namespace essbase
