// One change run in one database, every filter of it chosen, through the
// client library beside the program: what the desktop's Change Access does
// between the question and the count message.
//   change_bench SERVER USER PASSWORD APPLICATION DATABASE SEARCH ACCESS
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "desktop/change/ChangeEngine.h"
#include "essbase/library/ByteOrder.h"
#include "essbase/library/LibraryApi.h"

namespace {

using desktop::change::ChangeProgress;

// Nobody to ask: a failed write ends the run.
class Unattended : public desktop::change::ChangeQuestions {
 public:
  bool RetryAfterWriteFailure() override { return false; }
  bool TryLoginAgain() override { return false; }
  void WriteFailedUnexpectedly(std::string_view) override {}
  void ProcessEvents() override {}
  void Progress(const ChangeProgress&) override {}
};

class NoPrompt : public essbase::SessionListener {
 public:
  void LoginFailed(int32_t) override {}
  void LoggedInAgain() override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fprintf(stderr, "usage: change_bench SERVER USER PASSWORD APP DB SEARCH ACCESS\n");
    return 2;
  }
  essbase::LibraryApi api;
  if (!api.loaded()) {
    std::fprintf(stderr, "change_bench: %s\n", api.loadError().c_str());
    return 2;
  }
  essbase::ConnectionState conn;
  conn.Server = argv[1];
  conn.User = argv[2];
  conn.Password = argv[3];
  NoPrompt listener;
  essbase::Session session(api, conn, essbase::Generation::V6, listener);
  session.Initialize();
  if (session.Login() != 0) {
    std::fprintf(stderr, "change_bench: login failed (%d)\n", conn.Status);
    return 2;
  }
  desktop::change::ChangeScope scope;
  scope.databases.push_back({argv[4], argv[5]});
  int16_t count = 0;
  api.EsbListFilters(conn.ContextHandle, argv[4], argv[5], count);
  for (int i = 0; i < count; ++i) {
    std::array<char, essbase::FilterNameWidth> name{};
    if (api.EsbGetNextItem(conn.ContextHandle, essbase::ItemFilterName, name) != 0) return 2;
    scope.filters.emplace_back(essbase::GetFixed(name.data(), name.size()));
  }
  Unattended questions;
  desktop::change::RowStore rows;
  const auto outcome = desktop::change::ChangeEngine(session, questions)
                           .Run(scope, {static_cast<int16_t>(std::atoi(argv[7])), argv[6]}, rows);
  api.EsbLogout(conn.ContextHandle);
  api.EsbTerm(conn.InstanceHandle);
  if (outcome.end != desktop::change::ChangeEnd::Changed) {
    std::fprintf(stderr, "change_bench: the run ended early (%d, status %d)\n",
                 static_cast<int>(outcome.end), outcome.status);
    return 1;
  }
  std::printf("%d filters changed, %d rows\n", outcome.changedFilters, outcome.rows);
  return 0;
}
