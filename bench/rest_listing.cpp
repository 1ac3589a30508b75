// A click on a database over the REST API: the login, then the filter
// listing a click makes, names only; timed by scripts/bench against a server
// of many filters some milliseconds away.
//   rest_listing_bench URL USER PASSWORD APPLICATION DATABASE
#include <chrono>
#include <cstdio>

#include "essbase/rest/RestServer.h"

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: rest_listing_bench URL USER PASSWORD APP DB\n");
    return 2;
  }
  essbase::rest::RestServer server;
  const auto start = std::chrono::steady_clock::now();
  if (const essbase::Failure f = server.LogIn({argv[1], argv[2], argv[3]})) {
    std::fprintf(stderr, "rest_listing_bench: login failed (%d) %s\n", f.status, f.detail.c_str());
    return 1;
  }
  const auto listing = std::chrono::steady_clock::now();
  std::vector<std::string> names;
  if (const essbase::Failure f = server.ListFilters({argv[4], argv[5]}, names)) {
    std::fprintf(stderr, "rest_listing_bench: listing failed (%d) %s\n", f.status,
                 f.detail.c_str());
    return 1;
  }
  const auto end = std::chrono::steady_clock::now();
  const auto seconds = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
  std::printf("%zu %.3f %.3f\n", names.size(), seconds(start, end), seconds(listing, end));
  server.LogOut();
  return 0;
}
