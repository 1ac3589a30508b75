// The JSON mapping held to the public reference's example bodies (fixtures/),
// and to answers that are not what a call expects.
#include <gtest/gtest.h>

#include "essbase/rest/RestJson.h"
#include "tests/support/TestFiles.h"

namespace {

using namespace essbase::rest;

std::string Fixture(const std::string& name) {
  const std::string body = support::ReadFile(std::string(REST_FIXTURES) + "/" + name);
  EXPECT_FALSE(body.empty()) << name;
  return body;
}

TEST(ReferenceBodies, ListingsGiveTheirNames) {
  const std::pair<const char*, std::vector<std::string>> table[] = {
      {"list-applications.json", {"ASOSamp", "Sample"}},
      {"list-databases.json", {"Basic"}},
      {"list-filters.json", {"dslookupfilter"}},
  };
  for (const auto& [file, names] : table) {
    NameList list;
    std::string why;
    ASSERT_TRUE(ParseNameList(Fixture(file), list, why)) << file << ": " << why;
    EXPECT_EQ(list.names, names);
    EXPECT_FALSE(list.hasMore);
  }
}

TEST(ReferenceBodies, FilterRowsFilterApplicationSessionAndError) {
  std::vector<WireRow> rows;
  std::string why, name, status;
  ASSERT_TRUE(ParseRowList(Fixture("filter-rows.json"), rows, why)) << why;
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].access, "MetaRead");
  EXPECT_EQ(rows[0].mbrSpec.substr(0, 18), "@datasourceLookup(");
  ASSERT_TRUE(ParseFilter(Fixture("filter.json"), name, rows, why)) << why;
  EXPECT_EQ(name, "dslookupfilter");
  EXPECT_TRUE(rows.empty());
  ASSERT_TRUE(ParseApplication(Fixture("application.json"), name, status, why)) << why;
  EXPECT_EQ(status, "stopped");
  EXPECT_TRUE(ParseSession(Fixture("session.json"), why)) << why;
  const ServerError e = ParseError(Fixture("error.json"));
  EXPECT_EQ(e.status, 1051030);
  EXPECT_NE(e.message.find("does not exist"), std::string::npos);
}

struct Bad {
  const char* body;
  const char* why;
};

class MalformedRows : public ::testing::TestWithParam<Bad> {};

TEST_P(MalformedRows, AreRefusedNamingWhatIsWrong) {
  std::vector<WireRow> rows;
  std::string why;
  EXPECT_FALSE(ParseRowList(GetParam().body, rows, why));
  EXPECT_NE(why.find(GetParam().why), std::string::npos) << why;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MalformedRows,
    ::testing::Values(Bad{"", "not JSON"}, Bad{"{\"items\": [", "not JSON"},
                      Bad{"<html>503</html>", "not JSON"}, Bad{"[]", "array, not an object"},
                      Bad{"{}", "no \"items\""}, Bad{"{\"items\": {}}", "not an array"},
                      Bad{"{\"items\": [7]}", "items[0] is number"},
                      Bad{"{\"items\": [{\"access\": \"Read\"}]}", "items[0] has no \"mbrSpec\""},
                      Bad{"{\"items\": [{\"access\": 273, \"mbrSpec\": \"x\"}]}",
                          "\"access\" is number, not a string"},
                      Bad{"{\"items\": [{\"access\": \"Read\", \"mbrSpec\": null}]}",
                          "\"mbrSpec\" is null"}));

TEST(MalformedAnswers, OtherCallsNameTheirFaultToo) {
  NameList list;
  std::string why, name, status;
  EXPECT_FALSE(ParseNameList("{\"items\": [{\"name\": 5}]}", list, why));
  EXPECT_NE(why.find("\"name\" is number"), std::string::npos) << why;
  EXPECT_FALSE(ParseNameList("{\"items\": [], \"hasMore\": \"no\"}", list, why));
  EXPECT_NE(why.find("hasMore"), std::string::npos) << why;
  EXPECT_FALSE(ParseApplication("{\"name\": \"A\"}", name, status, why));
  EXPECT_NE(why.find("no \"status\""), std::string::npos) << why;
  std::vector<WireRow> rows;
  EXPECT_FALSE(ParseFilter("{\"name\": \"F\", \"rows\": 1}", name, rows, why));
  EXPECT_NE(why.find("\"rows\" is number"), std::string::npos) << why;
  EXPECT_FALSE(ParseSession("\"admin\"", why));
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  EXPECT_FALSE(ParseNameList(deep, list, why));
  EXPECT_NE(why.find("nests deeper"), std::string::npos) << why;
}

TEST(ErrorBodies, StatusIsFoundInEveryRecognisableForm) {
  const std::pair<std::string, int32_t> table[] = {
      {R"({"errorCode": 1051047, "errorMessage": "gone"})", 1051047},
      {R"({"errorCode": "1051031", "message": "no db"})", 1051031},
      {R"({"errorCode": -7, "errorMessage": "fault"})", -7},
      {R"({"errorMessage": "Essbase Error (1051030): Application X does not exist"})", 1051030},
      {"Essbase Error(1051041): bad name", 1051041},
      {R"({"errorCode": "ESS-1", "errorMessage": "no number here"})", 0},
      {"<html>Bad gateway</html>", 0},
  };
  for (const auto& [body, status] : table) EXPECT_EQ(ParseError(body).status, status) << body;
  EXPECT_EQ(ParseError(std::string(5000, 'x')).message.size(), 303u);
}

}  // namespace
