// One change run in one database, every filter of it chosen, through the
// client library beside the program: what the desktop's Change Access does
// between the question and the count message.
//   change_bench SERVER USER PASSWORD APPLICATION DATABASE SEARCH ACCESS
#include <cstdio>
#include <cstdlib>
#include <string>

#include "desktop/change/ChangeEngine.h"
#include "essbase/library/LibraryApi.h"
#include "essbase/library/LibraryServer.h"

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
  void LoginFailed(const essbase::Failure&) override {}
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
  essbase::LibraryServer library(api, conn);
  essbase::Session session(library, conn, essbase::Generation::V6, listener);
  session.Initialize();
  if (session.Login() != 0) {
    std::fprintf(stderr, "change_bench: login failed (%d)\n", conn.Status);
    return 2;
  }
  desktop::change::ChangeScope scope;
  scope.databases.push_back({argv[4], argv[5]});
  if (library.ListFilters({argv[4], argv[5]}, scope.filters)) return 2;
  Unattended questions;
  desktop::change::RowStore rows;
  const auto outcome = desktop::change::ChangeEngine(session, questions)
                           .Run(scope, {static_cast<int16_t>(std::atoi(argv[7])), argv[6]}, rows);
  library.LogOut();
  library.End();
  if (outcome.end != desktop::change::ChangeEnd::Changed) {
    std::fprintf(stderr, "change_bench: the run ended early (%d, status %d)\n",
                 static_cast<int>(outcome.end), outcome.status);
    return 1;
  }
  std::printf("%d filters changed, %d rows\n", outcome.changedFilters, outcome.rows);
  return 0;
}
