#pragma once
// The backends the server interface's cases run over, each on the same
// content, logged in to "srv" as u/pw under a session whose policy is None
// until a case says otherwise.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "essbase/Session.h"
#include "essbase/library/EssbaseApi.h"
#include "tests/sim/SimTestSupport.h"
#include "tests/support/FakeServer.h"
#include "tests/support/LibraryRig.h"
#include "tests/support/ServeProcess.h"

namespace conformance {

enum class Backend {
  LibraryInProcess,  // the client library's backend over the simulated server in this process
  LibraryShared,     // the same through the built libesbapin.so
  Fake,              // tests/support's FakeServer
  // The REST backend against `esbsim serve` on the same store, every list
  // paged at 2.
  RestServe,
};

std::string BackendName(const ::testing::TestParamInfo<Backend>& info);
void PrintTo(Backend backend, std::ostream* os);

// Server "srv", user u/pw (275); applications in this order: Sample (loaded;
// Basic with Alpha, Beta and Empty; Spare without filters), FULLNAM8
// (unloaded; DBFULL08 with a 30-character filter), Zeta (no databases).
extern const char* const Content;
extern const char* const LongFilter;  // 30 characters

// The fake server holding a description's applications, databases, filters
// and rows, its first user the only login it takes.
std::unique_ptr<essbase::testing::FakeServer> FakeFrom(const std::string& description);

class ServerConformance : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override;
  void TearDown() override;

  essbase::Server& server() { return *server_; }
  essbase::Session& session() { return *session_; }
  bool OverRest() const { return GetParam() == Backend::RestServe; }
  // The server's name, or its URL over REST.
  std::string Address() const { return serve_ ? serve_->url() : "srv"; }
  bool OverLibrary() const {
    return GetParam() == Backend::LibraryInProcess || GetParam() == Backend::LibraryShared;
  }
  // The next `times` reads of a filter meet an ended login (1051021).
  void EndLoginAtNextRead(int times = 1);

  // A listing, a read, the server's content: the case fails where they do.
  std::vector<std::string> Names(const essbase::Database& db);
  std::vector<essbase::Filter> Read(const essbase::Database& db,
                                    const std::vector<std::string>& names);

  simtest::TempStore store_;
  std::unique_ptr<support::ServeProcess> serve_;
  std::unique_ptr<essbase::EssbaseApi> api_;
  essbase::ConnectionState conn_;
  std::unique_ptr<essbase::Server> server_;
  essbase::testing::FakeServer* fake_ = nullptr;
  essbase::testing::CountingListener listener_;
  std::unique_ptr<essbase::Session> session_;
};

// Keeps every filter received, and the rows of a partial one.
class Kept final : public essbase::FilterReceiver {
 public:
  bool Receive(const essbase::Database&, essbase::Filter& filter) override {
    filters.push_back(filter);
    return true;
  }
  void Partial(const essbase::Database&, const essbase::Filter& filter) override {
    partial.push_back(filter);
  }
  std::vector<essbase::Filter> filters;
  std::vector<essbase::Filter> partial;
};

}  // namespace conformance
