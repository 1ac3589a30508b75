// The JSON mapping held to the public reference's example bodies
// (fixtures/), to answers that are not what a call expects, and to the
// memory a large answer may cost.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "essbase/rest/json/RestJson.h"
#include "tests/rest/Allocations.h"
#include "tests/support/TestFiles.h"

namespace {

using namespace essbase::rest;
using resttest::PeakHeapDuring;

std::string Fixture(const std::string& name) {
  const std::string body = support::ReadFile(std::string(REST_FIXTURES) + "/" + name);
  EXPECT_FALSE(body.empty()) << name;
  return body;
}

std::vector<std::string> Names(const std::vector<NameItem>& items) {
  std::vector<std::string> names;
  for (const NameItem& i : items) names.push_back(i.name);
  return names;
}

TEST(ReferenceBodies, ListingsGiveTheirNamesAndPagingFields) {
  ListPage page;
  std::vector<NameItem> items;
  std::string why;
  ASSERT_TRUE(ParseNamePage(Fixture("list-applications.json"), page, items, why)) << why;
  EXPECT_EQ(Names(items), (std::vector<std::string>{"ASOSamp", "Sample"}));
  EXPECT_EQ(items[0].status, "stopped");
  EXPECT_EQ(items[1].status, "started");
  EXPECT_EQ(page.offset, 0);
  EXPECT_EQ(page.limit, 50);
  EXPECT_EQ(page.count, 2);
  EXPECT_EQ(page.totalResults, 2);
  EXPECT_EQ(page.hasMore, false);
  EXPECT_EQ(page.items, 2u);

  ASSERT_TRUE(ParseNamePage(Fixture("list-databases.json"), page, items, why)) << why;
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].name, "Basic");
  EXPECT_EQ(items[0].application, "Sample");
  EXPECT_FALSE(page.hasMore);  // not given

  ASSERT_TRUE(ParseNamePage(Fixture("list-filters.json"), page, items, why)) << why;
  EXPECT_EQ(Names(items), std::vector<std::string>{"dslookupfilter"});
}

TEST(ReferenceBodies, FilterRowsApplicationSessionAndError) {
  ListPage page;
  std::vector<WireRow> rows;
  std::string why, name, status;
  ASSERT_TRUE(ParseRowPage(Fixture("filter-rows.json"), page, rows, why)) << why;
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].access, "MetaRead");
  EXPECT_EQ(rows[0].mbrSpec.substr(0, 18), "@datasourceLookup(");
  EXPECT_EQ(rows[3], (WireRow{"None", "\"Profit\""}));
  ASSERT_TRUE(ParseApplication(Fixture("application.json"), name, status, why)) << why;
  EXPECT_EQ(name, "Facility");
  EXPECT_EQ(status, "stopped");
  EXPECT_TRUE(ParseSession(Fixture("session.json"), why)) << why;
  const ErrorBody e = ParseErrorBody(Fixture("error.json"));
  EXPECT_EQ(e.errorCode, 1051030);
  EXPECT_EQ(e.message, "Essbase Error(1051030): Application Facilityy does not exist");
}

struct Bad {
  const char* body;
  const char* why;
};

class MalformedRowPage : public ::testing::TestWithParam<Bad> {};

TEST_P(MalformedRowPage, IsRefusedNamingWhatIsWrong) {
  ListPage page;
  std::vector<WireRow> rows;
  std::string why;
  EXPECT_FALSE(ParseRowPage(GetParam().body, page, rows, why));
  EXPECT_NE(why.find(GetParam().why), std::string::npos) << why;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MalformedRowPage,
    ::testing::Values(
        Bad{"", "not JSON"}, Bad{"{\"items\": [", "not JSON"}, Bad{"<html>503</html>", "not JSON"},
        Bad{"{\"items\": [{\"access\": \"Read\", \"mbrSpec\": \"\xC3\"}]}", "not JSON"},
        Bad{"[]", "array, not an object"}, Bad{"7", "number, not an object"},
        Bad{"{}", "no \"items\""}, Bad{"{\"items\": {}}", "\"items\" is object, not an array"},
        Bad{"{\"items\": null}", "\"items\" is null, not an array"},
        Bad{"{\"items\": [7]}", "items[0] is number, not an object"},
        Bad{"{\"items\": [{\"access\": \"Read\", \"mbrSpec\": \"x\"}, []]}",
            "items[1] is array, not an object"},
        Bad{"{\"items\": [{\"access\": \"Read\"}]}", "items[0] has no \"mbrSpec\""},
        Bad{"{\"items\": [{\"access\": 273, \"mbrSpec\": \"x\"}]}",
            "items[0]: \"access\" is number, not a string"},
        Bad{"{\"items\": [{\"access\": \"Read\", \"mbrSpec\": null}]}", "\"mbrSpec\" is null"},
        Bad{"{\"items\": [{\"access\": \"Read\", \"mbrSpec\": {}}]}", "\"mbrSpec\" is object"},
        Bad{"{\"items\": [], \"hasMore\": \"no\"}", "\"hasMore\" is string, not a boolean"},
        Bad{"{\"items\": [], \"offset\": -1}", "\"offset\" is not a count"},
        Bad{"{\"items\": [], \"totalResults\": 1.5}", "\"totalResults\" is not a count"},
        Bad{"{\"items\": [], \"limit\": \"50\"}", "\"limit\" is not a count"},
        Bad{"{\"items\": [], \"count\": {}}", "\"count\" is object, not a number"},
        Bad{"{\"items\": [], \"items\": []}", "\"items\" twice"}));

TEST(NamePages, TakeTheNameAndReadPastWhateverElseAnItemCarries) {
  ListPage page;
  std::vector<NameItem> items;
  std::string why;
  const char* body = R"({"items": [{"links": [{"rel": "x"}], "rows": [{"access": "Read",
      "mbrSpec": "a"}], "name": "F1", "extra": {"name": "not this"}}, {"name": "F2"}],
      "properties": {"a": "b"}, "hasMore": true, "offset": 4})";
  ASSERT_TRUE(ParseNamePage(body, page, items, why)) << why;
  EXPECT_EQ(Names(items), (std::vector<std::string>{"F1", "F2"}));
  EXPECT_EQ(page.hasMore, true);
  EXPECT_EQ(page.offset, 4);
  EXPECT_FALSE(page.totalResults);

  EXPECT_FALSE(ParseNamePage(R"({"items": [{"name": "A"}, {"nam": "B"}]})", page, items, why));
  EXPECT_EQ(why, "items[1] has no \"name\"");
  EXPECT_FALSE(ParseNamePage(R"({"items": [{"name": 5}]})", page, items, why));
  EXPECT_EQ(why, "items[0]: \"name\" is number, not a string");
  EXPECT_FALSE(ParseNamePage(R"({"items": [{"name": "A", "status": 1}]})", page, items, why));
  EXPECT_EQ(why, "items[0]: \"status\" is number, not a string");
}

TEST(Objects, ApplicationAndSessionNameTheirFaults) {
  std::string why, name, status;
  EXPECT_FALSE(ParseApplication(R"({"name": "A"})", name, status, why));
  EXPECT_EQ(why, "the application has no \"status\"");
  EXPECT_FALSE(ParseApplication(R"({"name": "A", "status": ["started"]})", name, status, why));
  EXPECT_EQ(why, "the application: \"status\" is array, not a string");
  EXPECT_FALSE(ParseSession("\"admin\"", why));
  EXPECT_EQ(why, "the answer is string, not an object");
  EXPECT_FALSE(ParseSession("", why));
  EXPECT_EQ(why, "the answer is not JSON");
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  EXPECT_FALSE(ParseSession(deep, why));
  EXPECT_EQ(why, "the answer is array, not an object");
  const std::string deepObject = "{\"a\":" + std::string(70, '[') + std::string(70, ']') + "}";
  EXPECT_FALSE(ParseSession(deepObject, why));
  EXPECT_EQ(why, "the answer nests deeper than 64 levels");
}

TEST(ErrorBodies, StatusIsTheNumericErrorCodeWhereThereIsOne) {
  const std::pair<std::string, int32_t> table[] = {
      {R"({"errorCode": 1051047, "errorMessage": "gone"})", 1051047},
      {R"({"errorCode": "1051031", "message": "no db"})", 1051031},
      {R"({"errorCode": -7, "errorMessage": "fault"})", -7},
      {R"({"error": {"errorCode": 1051030, "message": "nested"}})", 1051030},
      {R"({"errorCode": "ESS-1", "errorMessage": "no number here"})", 0},
      {R"({"errorCode": 0})", 0},
      {R"({"errorCode": 99999999999})", 0},
      {"<html>Bad gateway</html>", 0},
  };
  for (const auto& [body, status] : table)
    EXPECT_EQ(ParseErrorBody(body).errorCode, status) << body;
}

TEST(ErrorBodies, TheMostSpecificMessageIsKept) {
  const std::pair<std::string, std::string> table[] = {
      {R"({"message": "Bad Request", "details": "Filter F already exists"})",
       "Filter F already exists"},
      {R"({"message": "The request could not be carried out by the server", "details": "F exists"})",
       "F exists"},
      {R"({"title": "Bad Request", "detail": "row 3 is not valid"})", "row 3 is not valid"},
      {R"({"errorMessage": "Failed to create the filter.",
          "cause": {"errorMessage": "Essbase Error(1051041): Filter F already exists"}})",
       "Essbase Error(1051041): Filter F already exists"},
      {R"({"message": "Internal error", "error": {"message": "Filter F: the row is too long"}})",
       "Filter F: the row is too long"},
      {R"({"errors": [{"message": "Essbase Error (1051030): no app"}], "message": "Failed"})",
       "Essbase Error (1051030): no app"},
      {R"({"error": "Bad Request"})", "Bad Request"},
      {R"({"status": 400, "links": [{"href": "http://x"}]})", ""},
      {"Service Unavailable", "Service Unavailable"},
  };
  for (const auto& [body, message] : table)
    EXPECT_EQ(ParseErrorBody(body).message, message) << body;
}

TEST(FilterBody, CarriesNameAndRowsAsJsonAndRefusesWhatIsNotUtf8) {
  const std::optional<std::string> body =
      FilterBody("F \"q\"", {{"Read", "@IDESC(\"\xE2\x82\xAC\")"}, {"None", "a\\b"}});
  ASSERT_TRUE(body);
  const nlohmann::json j = nlohmann::json::parse(*body);
  EXPECT_EQ(j["name"], "F \"q\"");
  ASSERT_EQ(j["rows"].size(), 2u);
  EXPECT_EQ(j["rows"][0]["access"], "Read");
  EXPECT_EQ(j["rows"][0]["mbrSpec"], "@IDESC(\"\xE2\x82\xAC\")");
  EXPECT_EQ(j["rows"][1]["mbrSpec"], "a\\b");
  EXPECT_EQ(nlohmann::json::parse(*FilterBody("F", {}))["rows"], nlohmann::json::array());
  EXPECT_FALSE(FilterBody("F\xC3", {}));
  EXPECT_FALSE(FilterBody("F", {{"Read", "\xFF"}}));
}

// Answers of the size cap, each shaped to cost: the parse holds no more
// than the cap beside the answer itself.
constexpr size_t kCap = size_t{64} << 20;

std::string Repeated(const std::string& head, const std::string& item, const std::string& tail) {
  std::string body = head;
  body.reserve(kCap + item.size());
  while (body.size() + item.size() + tail.size() < kCap) body += item;
  body.back() = ' ';  // the last item's comma
  return body + tail;
}

// One name page parsed, with the heap's peak while it was.
struct MeasuredPage {
  bool parsed = false;
  std::string why;
  std::vector<NameItem> items;
  size_t peak = 0;
};

MeasuredPage ParseMeasured(const std::string& body) {
  MeasuredPage m;
  ListPage page;
  m.peak = PeakHeapDuring([&] { m.parsed = ParseNamePage(body, page, m.items, m.why); });
  return m;
}

TEST(Memory, AListingOfEmptyItemsFailsAtOnce) {
  const MeasuredPage m = ParseMeasured(Repeated("{\"items\": [", "{},", "]}"));
  EXPECT_FALSE(m.parsed);
  EXPECT_EQ(m.why, "items[0] has no \"name\"");
  EXPECT_LT(m.peak, size_t{1} << 20);
}

TEST(Memory, ItemsCarryingRowsCostOnlyTheirNames) {
  std::string rows;
  for (int i = 0; i < 40; ++i)
    rows += R"J({"access": "Read", "mbrSpec": "@IDESCENDANTS(\"East\")"},)J";
  rows.pop_back();
  std::string body = "{\"items\": [";
  body.reserve(kCap + 4096);
  for (int i = 0; body.size() < kCap - 4096; ++i)
    body += "{\"name\": \"F" + std::to_string(i) + "\", \"rows\": [" + rows + "]},";
  body.back() = ']';
  body += "}";
  const MeasuredPage m = ParseMeasured(body);
  ASSERT_TRUE(m.parsed) << m.why;
  EXPECT_GT(m.items.size(), 20000u);
  EXPECT_LT(m.peak, kCap / 8) << m.items.size() << " names";
}

TEST(Memory, APageOfMoreItemsThanAnyServerSendsFailsBeforeItCostsMuch) {
  const MeasuredPage m = ParseMeasured(Repeated("{\"items\": [", "{\"name\": \"a\"},", "]}"));
  EXPECT_FALSE(m.parsed);
  EXPECT_EQ(m.why, "the page holds more than 100000 items");
  EXPECT_LT(m.peak, kCap / 2);
}

}  // namespace
