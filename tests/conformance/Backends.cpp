#include "tests/conformance/Backends.h"

#include "essbase/rest/RestServer.h"

#include <sstream>

#include "essbase/library/LibraryApi.h"
#include "essbase/library/LibraryServer.h"
#include "sim/SimApi.h"
#include "tests/support/SampleServer.h"
#include "sim/Store.h"

namespace conformance {

using essbase::testing::FakeServer;

const char* const LongFilter = support::SampleLongFilter;
const char* const Content = support::SampleServer;

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  switch (info.param) {
    case Backend::LibraryInProcess: return "LibraryInProcess";
    case Backend::LibraryShared: return "LibraryShared";
    case Backend::Fake: return "Fake";
    case Backend::RestServe: return "RestServe";
  }
  return "";
}

void PrintTo(Backend backend, std::ostream* os) {
  *os << BackendName({backend, 0});
}

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
  return fields;
}

}  // namespace

std::unique_ptr<FakeServer> FakeFrom(const std::string& description) {
  auto fake = std::make_unique<FakeServer>();
  std::string server;
  essbase::Filter* filter = nullptr;
  std::istringstream in(description);
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> f = Fields(line);
    if (f[0] == "server") {
      server = f[1];
    } else if (f[0] == "user" && !fake->account) {
      fake->account = essbase::Credentials{server, f[1], f[2]};
    } else if (f[0] == "app") {
      fake->AddApplication(f[1], f[2] == "loaded");
    } else if (f[0] == "db") {
      fake->AddDatabase(f[1], f[2]);
    } else if (f[0] == "filter") {
      filter = &fake->AddFilter(f[1], f[2], f[3]);
      filter->active = static_cast<int16_t>(std::stoi(f[4]));
      filter->access = static_cast<int16_t>(std::stoi(f[5]));
    } else if (f[0] == "row") {
      // The row's text runs to the line's end, TABs and all.
      filter->rows.push_back({static_cast<int16_t>(std::stoi(f[1])),
                              line.substr(line.find('\t', 4) + 1)});
    }
  }
  return fake;
}

void ServerConformance::SetUp() {
  store_.Load(Content);
  switch (GetParam()) {
    case Backend::LibraryInProcess:
      api_ = std::make_unique<esbsim::SimApi>();
      break;
    case Backend::LibraryShared: {
      auto library = std::make_unique<essbase::LibraryApi>(ESBAPIN_PATH);
      ASSERT_TRUE(library->loaded()) << library->loadError();
      api_ = std::move(library);
      break;
    }
    case Backend::Fake: {
      std::unique_ptr<FakeServer> fake = FakeFrom(Content);
      fake_ = fake.get();
      server_ = std::move(fake);
      break;
    }
    case Backend::RestServe:
      serve_ = std::make_unique<support::ServeProcess>(ESBSIM_PATH, store_.path(),
                                                       std::vector<std::string>{"--page-size", "2"});
      ASSERT_FALSE(serve_->url().empty()) << serve_->errors();
      server_ = std::make_unique<essbase::rest::RestServer>();
      break;
  }
  if (api_) server_ = std::make_unique<essbase::LibraryServer>(*api_, conn_);
  session_ = std::make_unique<essbase::Session>(*server_, conn_, essbase::Generation::V6,
                                                listener_);
  ASSERT_FALSE(server().Start(essbase::Generation::V6, essbase::DesktopLocalPath));
  // What the host's login keeps for a login again.
  const std::string address = serve_ ? serve_->url() : "srv";
  ASSERT_FALSE(session().LogInWith({address, "u", "pw"}));
}

void ServerConformance::TearDown() {
  // The shared library's server outlives the case: no instance is left.
  if (!server_) return;
  server().LogOut();
  server().End();
}

void ServerConformance::EndLoginAtNextRead(int times) {
  if (fake_) {
    fake_->Fail(essbase::Step::ReadFilter, essbase::ReloginStatus, 0, times);
    return;
  }
  esbsim::Store store;
  ASSERT_EQ(store.open(store_.path(), false), 0);
  esbsim::Statement* st = store.db().prepare(esbsim::sql::kInsertFault);
  ASSERT_NE(st, nullptr);
  ASSERT_EQ(st->bind(1, "EsbGetFilter")
                .bind(2, int64_t{essbase::ReloginStatus})
                .bind(3, int64_t{0})
                .bind(4, int64_t{times})
                .step(),
            SQLITE_DONE);
  st->reset();
}

std::vector<std::string> ServerConformance::Names(const essbase::Database& db) {
  std::vector<std::string> names;
  const essbase::Failure f = server().ListFilters(db, names);
  EXPECT_FALSE(f) << f.status << " " << f.detail;
  return names;
}

std::vector<essbase::Filter> ServerConformance::Read(const essbase::Database& db,
                                                     const std::vector<std::string>& names) {
  Kept kept;
  const essbase::Failure f = server().ReadFilters(db, names, {}, kept);
  EXPECT_FALSE(f) << f.status << " " << f.detail;
  return kept.filters;
}

}  // namespace conformance
