#pragma once
// The server's live sessions, as a web container keeps them: each one a login
// context of its own, named to the client by an unguessable cookie value and
// to administrators by a number. Not thread-safe: the gateway's lock guards it.
#include <chrono>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "essbase/library/EssbaseApi.h"

namespace esbsim::serve {

struct LiveSession {
  std::string token;    // the cookie value: 128 random bits in hex
  uint32_t number = 0;  // the session id the session list shows
  std::string user;
  int16_t access = 0;  // the user's, as the store grants it
  std::string source;  // where the client connected from
  essbase::Handle context = 0;
  std::chrono::steady_clock::time_point since;
  uint64_t order = 0;
};

class SessionTable {
 public:
  // A new session over an open login context.
  const LiveSession& Add(const std::string& user, int16_t access, const std::string& source,
                         essbase::Handle context);
  // Null when the token names no live session.
  const LiveSession* Find(const std::string& token) const;
  void End(const std::string& token);
  // In the order they began.
  std::vector<LiveSession> All() const;

 private:
  std::random_device random_;  // the system's entropy: tokens must not be guessable
  std::map<std::string, LiveSession> byToken_;
  std::map<uint64_t, std::string> inOrder_;
  std::set<uint32_t> numbers_;
  uint64_t begun_ = 0;
};

}  // namespace esbsim::serve
