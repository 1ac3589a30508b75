#include "sim/serve/SessionTable.h"

namespace esbsim::serve {

const LiveSession& SessionTable::Add(const std::string& user, int16_t access,
                                     const std::string& source, essbase::Handle context) {
  static const char kHex[] = "0123456789abcdef";
  LiveSession s;
  do {
    s.token.clear();
    for (int word = 0; word < 4; ++word) {
      const uint32_t bits = random_();
      for (int shift = 28; shift >= 0; shift -= 4) s.token += kHex[(bits >> shift) & 0xF];
    }
  } while (byToken_.count(s.token));
  do {
    s.number = random_();
  } while (s.number == 0 || numbers_.count(s.number));
  s.user = user;
  s.access = access;
  s.source = source;
  s.context = context;
  s.since = std::chrono::steady_clock::now();
  s.order = begun_++;
  numbers_.insert(s.number);
  inOrder_[s.order] = s.token;
  const std::string token = s.token;
  return byToken_[token] = std::move(s);
}

const LiveSession* SessionTable::Find(const std::string& token) const {
  auto it = byToken_.find(token);
  return it == byToken_.end() ? nullptr : &it->second;
}

void SessionTable::End(const std::string& token) {
  auto it = byToken_.find(token);
  if (it == byToken_.end()) return;
  numbers_.erase(it->second.number);
  inOrder_.erase(it->second.order);
  byToken_.erase(it);
}

std::vector<LiveSession> SessionTable::All() const {
  std::vector<LiveSession> all;
  all.reserve(inOrder_.size());
  for (const auto& entry : inOrder_) all.push_back(byToken_.at(entry.second));
  return all;
}

}  // namespace esbsim::serve
