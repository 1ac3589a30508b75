// The gateway's sessions: each one a login context of the simulated API.
#include "sim/serve/SimGateway.h"

#include "sim/serve/GatewayFailures.h"

namespace esbsim::serve {

Reply SimGateway::Login(const Credentials& who, const std::string& source, std::string& token) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string server;
  if (int32_t status = store_.serverName(server)) return Failed(status, "reading the store");
  int16_t count = 0;
  Handle context = 0;
  const int32_t status = core_.Login(instance_, {server, who.user, who.password}, count, context);
  if (status) return Failed(status, "EsbLogin");
  int16_t access = 0;
  store_.checkUser(who.user, who.password, access);
  token = sessions_.Add(who.user, access, source, context).token;
  return {};
}

bool SimGateway::Live(const std::string& token) {
  std::lock_guard<std::mutex> lock(mutex_);
  return sessions_.Find(token) != nullptr;
}

Reply SimGateway::Logout(const std::string& token) {
  std::lock_guard<std::mutex> lock(mutex_);
  Handle c = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = core_.Logout(c);
  sessions_.End(token);
  return status ? Failed(status, "EsbLogout") : Reply{};
}

Reply SimGateway::User(const std::string& token, int16_t& access) {
  std::lock_guard<std::mutex> lock(mutex_);
  const LiveSession* s = sessions_.Find(token);
  if (!s) return Failed(ESB_STS_RELOGIN, "");
  Reply r;
  r.names.push_back(s->user);
  access = s->access;
  return r;
}

Reply SimGateway::Sessions(const std::string& token, std::vector<SessionView>& sessions) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!sessions_.Find(token)) return Failed(ESB_STS_RELOGIN, "");
  const auto now = std::chrono::steady_clock::now();
  sessions.clear();
  for (const LiveSession& s : sessions_.All()) {
    const auto age = std::chrono::duration_cast<std::chrono::seconds>(now - s.since);
    sessions.push_back({s.user, s.number, s.source, static_cast<long>(age.count())});
  }
  return {};
}

int32_t SimGateway::Context(const std::string& token, Handle& context) {
  const LiveSession* s = sessions_.Find(token);
  if (!s) return ESB_STS_RELOGIN;
  context = s->context;
  return 0;
}

Reply SimGateway::Done(const std::string& token, Reply reply) {
  if (reply.status == ESB_STS_RELOGIN) sessions_.End(token);
  return reply;
}

}  // namespace esbsim::serve
