// Reading filters over REST: whole, in order, several at once within a
// window, stopping where they must.
#include <gtest/gtest.h>

#include <thread>

#include "essbase/AccessWords.h"
#include "essbase/Constants.h"
#include "essbase/rest/RestServer.h"
#include "essbase/rest/RestStatus.h"
#include "tests/rest/Support.h"
#include "tests/rest/TestServer.h"

namespace {

using namespace essbase;
using namespace essbase::rest;
using namespace resttest;

const Database kDb{"Sample", "Basic"};

class Reads : public ::testing::Test {
 protected:
  explicit Reads(Options options = PagedAt(2)) : server(options) {
    server.AddApplication("Sample");
    server.AddDatabase("Sample", "Basic");
  }
  Credentials Login() const { return {server.Url(), "u", "pw"}; }
  void LogIn() { ASSERT_FALSE(rest.LogIn(Login())); }
  // n filters "F0".. of `rows` rows each, and their names.
  std::vector<std::string> Filters(int n, int rows = 1) {
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
      std::vector<TestServer::Row> r;
      for (int k = 0; k < rows; ++k)
        r.push_back({"Read", "\"R" + std::to_string(i) + "." + std::to_string(k) + "\""});
      names.push_back("F" + std::to_string(i));
      server.PutFilter("Sample", "Basic", names.back(), r);
    }
    return names;
  }

  TestServer server;
  RestServer rest;
};

TEST_F(Reads, EveryFilterComesWholeAndInTheOrderAskedWhateverItsPages) {
  std::vector<std::string> names;
  for (int rows : {5, 0, 1, 2, 3, 4, 7}) {
    std::vector<TestServer::Row> r;
    for (int k = 0; k < rows; ++k)
      r.push_back({k % 2 ? "Write" : "MetaRead", "\"M" + std::to_string(k) + "\""});
    names.push_back("Rows" + std::to_string(rows));
    server.PutFilter("Sample", "Basic", names.back(), r);
  }
  std::reverse(names.begin(), names.end());
  LogIn();
  Keep keep;
  ASSERT_FALSE(rest.ReadFilters(kDb, names, {}, keep));
  ASSERT_EQ(keep.Names(), names);
  for (const Filter& f : keep.filters) {
    const auto stored = server.Rows("Sample", "Basic", f.name);
    ASSERT_EQ(f.rows.size(), stored->size()) << f.name;
    for (size_t k = 0; k < f.rows.size(); ++k) {
      EXPECT_EQ(f.rows[k].access, k % 2 ? AccessWrite : AccessMetaRead);
      EXPECT_EQ(f.rows[k].text, (*stored)[k].second);
    }
    EXPECT_EQ(f.active, FilterActive);
    EXPECT_EQ(f.access, FilterAccess);
  }
  // One request per page of two rows, and one for a filter without rows.
  EXPECT_EQ(server.Count("GET", "/filters/Rows7/rows"), 4);
  EXPECT_EQ(server.Count("GET", "/filters/Rows0/rows"), 1);
}

class ReadWindow : public Reads {
 protected:
  ReadWindow() : Reads(Slow()) {}
  static Options Slow() {
    Options o = PagedAt(2);
    o.latency = std::chrono::milliseconds(15);
    return o;
  }
};

TEST_F(ReadWindow, AtMostEightInFlightAndNoMoreThanTheWindowHeldBeyondWhatWasTaken) {
  const std::vector<std::string> names = Filters(60);
  // Now and then a filter whose answer is slow: the ones after it come in
  // meanwhile, and only the window keeps the client from reading on.
  server.SetHook([](const httplib::Request& req, httplib::Response&) {
    for (const char* slow : {"/F0/", "/F20/", "/F41/"})
      if (req.target.find(slow) != std::string::npos)
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return false;
  });
  LogIn();
  int most = 0;
  Keep keep([&](const Filter&) {
    // A slow receiver too: requests made beyond the filters it took.
    const int asked = server.Count("GET", "/rows");
    const int taken = static_cast<int>(keep.filters.size()) - 1;
    most = std::max(most, asked - taken);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return true;
  });
  const Failure f = rest.ReadFilters(kDb, names, {}, keep);
  ASSERT_FALSE(f) << f.status << " " << f.detail << " " << f.serverText << " " << f.filter;
  EXPECT_EQ(keep.Names(), names);
  EXPECT_LE(most, 16);
  EXPECT_GE(most, 12) << "the window is used";
  EXPECT_LE(server.maxInFlight(), 8);
  EXPECT_GE(server.maxInFlight(), 4) << "filters are read side by side";
}

TEST_F(Reads, AReceiverThatSaysStopGetsNothingMore) {
  const std::vector<std::string> names = Filters(30);
  LogIn();
  Keep keep([](const Filter& f) { return f.name != "F2"; });
  ASSERT_FALSE(rest.ReadFilters(kDb, names, {}, keep));
  EXPECT_EQ(keep.Names(), (std::vector<std::string>{"F0", "F1", "F2"}));
  EXPECT_LE(server.Count("GET", "/rows"), 3 + 16);
}

TEST_F(Reads, AFailureStopsTheReadAtItsFilterAfterTheOnesBeforeIt) {
  const std::vector<std::string> names = Filters(20, 3);
  server.SetHook([](const httplib::Request& req, httplib::Response& res) {
    if (req.target.find("/filters/F5/rows?offset=2") == std::string::npos) return false;
    Error(res, 500, 0, "the store cannot be read");
    return true;
  });
  LogIn();
  Keep keep;
  const Failure f = rest.ReadFilters(kDb, names, {}, keep);
  EXPECT_EQ(keep.Names(), (std::vector<std::string>{"F0", "F1", "F2", "F3", "F4"}));
  EXPECT_EQ(f.status, RestStatusHttp);
  EXPECT_EQ(f.step, Step::ReadFilter);
  EXPECT_EQ(f.filter, "F5");
  EXPECT_EQ(f.call, "GET filter rows");
  EXPECT_EQ(f.rows, 2u);
  EXPECT_EQ(f.serverText, "HTTP 500: Essbase Error(0): the store cannot be read");
}

TEST_F(Reads, RowPagesThatDoNotAddUpFailTheFilter) {
  const std::vector<std::string> names = Filters(3, 4);
  server.SetHook([](const httplib::Request& req, httplib::Response& res) {
    if (req.target.find("/filters/F1/rows") == std::string::npos) return false;
    res.set_content(R"({"items": [{"access": "Read", "mbrSpec": "a"}, {"access": "Read",
        "mbrSpec": "b"}], "offset": 0, "hasMore": true})",
                    "application/json");
    return true;
  });
  LogIn();
  Keep keep;
  const Failure f = rest.ReadFilters(kDb, names, {}, keep);
  EXPECT_EQ(f.status, RestStatusBadAnswer);
  EXPECT_EQ(f.filter, "F1");
  EXPECT_TRUE(Has(f.detail, "the page at offset 2 came as offset 0: the server ignores offset"))
      << f.detail;
  EXPECT_EQ(keep.Names(), std::vector<std::string>{"F0"});
}

TEST_F(Reads, AFilterTheServerDoesNotHoldFailsWithItsStatus) {
  const std::vector<std::string> names = Filters(2);
  LogIn();
  Keep keep;
  const Failure f = rest.ReadFilters(kDb, {"F0", "Gone", "F1"}, {}, keep);
  EXPECT_EQ(f.status, ESB_STS_UNKNOWN_FILTER);
  EXPECT_EQ(f.filter, "Gone");
  EXPECT_EQ(keep.Names(), std::vector<std::string>{"F0"});
}

struct BadRow {
  TestServer::Row row;
  int32_t status;
  const char* why;
};

class RowsThatCannotBeHeld : public Reads, public ::testing::WithParamInterface<BadRow> {};

TEST_P(RowsThatCannotBeHeld, FailTheFilterNamingRowAndFilter) {
  const std::string name = "Odd \xE2\x82\xAC";
  server.PutFilter("Sample", "Basic", name, {{"Read", "a"}, {"Read", "b"}, GetParam().row});
  LogIn();
  Keep keep;
  const Failure f = rest.ReadFilters(kDb, {name}, {}, keep);
  EXPECT_EQ(f.status, GetParam().status);
  EXPECT_EQ(f.filter, name);
  EXPECT_TRUE(Has(f.detail, "row 3 of the filter \"" + name + "\" " + GetParam().why)) << f.detail;
  EXPECT_TRUE(keep.filters.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowsThatCannotBeHeld,
    ::testing::Values(BadRow{{"Calc", "x"},
                             RestStatusNoAccessWord,
                             "has the access word \"Calc\", which no access code stands for"},
                      BadRow{{"Read", ""}, RestStatusFilterNotServed, "is empty"},
                      BadRow{{"Read", "a\nb"}, RestStatusFilterNotServed, "holds a CR, LF or NUL"},
                      BadRow{{"Read", "a\rb"}, RestStatusFilterNotServed, "holds a CR, LF or NUL"},
                      BadRow{{"Read", std::string("a\0b", 3)},
                             RestStatusFilterNotServed,
                             "holds a CR, LF or NUL"}));

TEST_F(Reads, ANameThatCannotBeAskedForFailsBeforeAnyRequestNamingItEscaped) {
  Filters(1);
  LogIn();
  Keep keep;
  const Failure f = rest.ReadFilters(kDb, {"F0", "Odd\x7f"}, {}, keep);
  EXPECT_EQ(f.status, ESB_STS_BAD_NAME);
  EXPECT_EQ(f.detail, "the filter name \"Odd\\x7f\" holds a control character");
  EXPECT_EQ(keep.Names(), std::vector<std::string>{"F0"});
  EXPECT_EQ(server.Count("GET", "/rows"), 1);
}

TEST_F(Reads, AccessWordsAreReadInAnyCaseAndNamesTravelIntact) {
  const std::string odd = "A b#c%d/e?f\xE2\x82\xAC.";
  server.PutFilter("Sample", "Basic", odd,
                   {{"read", "a"}, {"WRITE", "b"}, {"metaread", "c"}, {"NONE", "d\t\xC3\xA9"}});
  LogIn();
  Keep keep;
  ASSERT_FALSE(rest.ReadFilters(kDb, {odd}, {}, keep));
  ASSERT_EQ(keep.filters.size(), 1u);
  EXPECT_EQ(keep.filters[0].rows, (std::vector<FilterRow>{{AccessRead, "a"},
                                                          {AccessWrite, "b"},
                                                          {AccessMetaRead, "c"},
                                                          {AccessNone, "d\t\xC3\xA9"}}));
}

TEST_F(Reads, ADatabaseIsListedAndOnlyItsWantedFiltersRead) {
  Filters(9);
  LogIn();
  Keep keep;
  ASSERT_FALSE(rest.ReadDatabase(
      kDb, [](std::string_view n) { return n != "F3" && n != "F8"; }, {}, keep));
  EXPECT_EQ(keep.Names(), (std::vector<std::string>{"F0", "F1", "F2", "F4", "F5", "F6", "F7"}));
  EXPECT_EQ(server.Count("GET", "/filters/F3/"), 0);
  EXPECT_EQ(server.Count("GET", "/filters?"), 5);
}

TEST_F(ReadWindow, AnEndedSessionIsLoggedInAgainOnceForAllTheFiltersItStopped) {
  const std::vector<std::string> names = Filters(40, 3);
  LogIn();
  CountingAgain again(rest, Login());
  std::atomic<int> seen{0};
  server.SetHook([&](const httplib::Request& req, httplib::Response&) {
    if (req.target.find("/rows") != std::string::npos && ++seen == 25) server.EndSessions();
    return false;
  });
  Keep keep;
  ASSERT_FALSE(rest.ReadFilters(kDb, names, {}, keep));
  EXPECT_EQ(keep.Names(), names);
  for (const Filter& f : keep.filters) EXPECT_EQ(f.rows.size(), 3u) << f.name;
  EXPECT_EQ(again.steps, std::vector<Step>{Step::ReadFilter});
  EXPECT_EQ(server.logins(), 2);
  EXPECT_EQ(again.tries, 0);
}

}  // namespace
