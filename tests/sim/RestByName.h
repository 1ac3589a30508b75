#pragma once
// RestApi under the conformance suite: logins to the store's server name go to
// the test's `esbsim serve` URL, as a program's router sends a server name to
// its backend. Every other call passes through unchanged.
#include <cstring>
#include <string>

#include "essbase/rest/RestApi.h"

namespace simtest {

class RestByName final : public essbase::EssbaseApi {
 public:
  using Handle = essbase::Handle;
  RestByName(std::string serverName, std::string url)
      : serverName_(std::move(serverName)), url_(std::move(url)) {}

  int32_t EsbLogin(Handle instance, const char* server, const char* user, const char* password,
                   int16_t& count, Handle& context) override {
    std::string name = server ? server : "";
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return rest_.EsbLogin(instance, name == serverName_ ? url_.c_str() : server, user, password,
                          count, context);
  }
  int32_t EsbInit(const essbase::ApiInitRecord& r, Handle& i) override {
    return rest_.EsbInit(r, i);
  }
  int32_t EsbTerm(Handle i) override { return rest_.EsbTerm(i); }
  int32_t EsbAutoLogin(Handle i, std::span<char> s, std::span<char> u, std::span<char> p,
                       std::span<char> a, std::span<char> d, int16_t o, int16_t& x,
                       Handle& c) override {
    return rest_.EsbAutoLogin(i, s, u, p, a, d, o, x, c);
  }
  int32_t EsbLogout(Handle c) override { return rest_.EsbLogout(c); }
  int32_t EsbListApplications(Handle c, int16_t& n) override {
    return rest_.EsbListApplications(c, n);
  }
  int32_t EsbListDatabases(Handle c, const char* a, int16_t& n) override {
    return rest_.EsbListDatabases(c, a, n);
  }
  int32_t EsbGetNextItem(Handle c, int16_t k, std::span<char> b) override {
    return rest_.EsbGetNextItem(c, k, b);
  }
  int32_t EsbGetApplicationInfo(Handle c, const char* a, std::span<uint8_t> r,
                                int16_t& d) override {
    return rest_.EsbGetApplicationInfo(c, a, r, d);
  }
  int32_t EsbUnloadApplication(Handle c, const char* a) override {
    return rest_.EsbUnloadApplication(c, a);
  }
  int32_t EsbSetActive(Handle c, const char* a, const char* d, int16_t& x) override {
    return rest_.EsbSetActive(c, a, d, x);
  }
  int32_t EsbListFilters(Handle c, const char* a, const char* d, int16_t& n) override {
    return rest_.EsbListFilters(c, a, d, n);
  }
  int32_t EsbGetFilter(Handle c, const char* a, const char* d, const char* f, int16_t& on,
                       int16_t& x) override {
    return rest_.EsbGetFilter(c, a, d, f, on, x);
  }
  int32_t EsbGetFilterRow(Handle c, std::span<char> r, int16_t& x) override {
    return rest_.EsbGetFilterRow(c, r, x);
  }
  int32_t EsbSetFilter(Handle c, const char* a, const char* d, const char* f, int16_t on,
                       int16_t x) override {
    return rest_.EsbSetFilter(c, a, d, f, on, x);
  }
  int32_t EsbSetFilterRow(Handle c, const char* r, int16_t x) override {
    return rest_.EsbSetFilterRow(c, r, x);
  }
  int32_t EsbDeleteFilter(Handle c, const char* a, const char* d, const char* f) override {
    return rest_.EsbDeleteFilter(c, a, d, f);
  }
  bool SetLoginPrompt(EsbSimLoginPrompt p, void* u) override { return rest_.SetLoginPrompt(p, u); }
  std::string FailureText(Handle c) override { return rest_.FailureText(c); }

 private:
  std::string serverName_, url_;
  essbase::rest::RestApi rest_;
};

}  // namespace simtest
