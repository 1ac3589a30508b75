// Every answer of esbsim serve held to its definition in the reference's
// OpenAPI file, and the check shown to refuse what breaks a definition (or
// the walk could pass by checking nothing).
#include <gtest/gtest.h>

#include "tests/serve/SchemaCheck.h"
#include "tests/serve/ServeFixture.h"

namespace servetest {
namespace {

using nlohmann::json;

std::string Dump(const std::vector<std::string>& errors) {
  std::string all;
  for (const auto& e : errors) all += e + "\n";
  return all;
}

constexpr const char* kBasic = "/applications/Sample/databases/Basic";

struct Route {
  const char* name;
  const char* method;
  std::string path;
  std::string body;  // sent as application/json unless type says otherwise
  int status;
  const char* definition;  // "" for an answer without a body
  const char* type = "application/json";
  bool anonymous = false;
};

void PrintTo(const Route& c, std::ostream* os) {
  *os << c.name;
}

const std::string kFilterBody =
    R"({"name":"New","rows":[{"access":"Read","mbrSpec":"\"East\""},{"access":"None","mbrSpec":"\"West\""}]})";

class EveryRoute : public ServeTest, public ::testing::WithParamInterface<Route> {};

TEST_P(EveryRoute, AnswersAsItsDefinitionHasIt) {
  const Route& r = GetParam();
  // Every list is paged at 2; the one fault fails deletes with a server status.
  Serve("fault\tEsbDeleteFilter\t1030030\t0\t0\n", {"--page-size", "2"});
  auto client = Connect();
  if (r.anonymous) client->NoBasic();
  std::string path = r.path;
  for (int page = 0; page < 10; ++page) {
    const Answer a = client->Send(r.method, path, r.body, r.body.empty() ? "" : r.type);
    ASSERT_EQ(a.status, r.status) << a.body;
    if (*r.definition == '\0') {
      EXPECT_EQ(a.body, "");
      return;
    }
    const json body = a.Json();
    EXPECT_EQ(Dump(Reference().Errors(body, r.definition)), "") << a.body;
    // A list is walked page by page, each held to the same definition.
    if (!body.is_object() || !body.contains("hasMore")) return;
    EXPECT_LE(body["count"].get<size_t>(), 2u);
    if (!body["hasMore"].get<bool>()) return;
    const size_t next = body["offset"].get<size_t>() + body["count"].get<size_t>();
    path = r.path + (r.path.find('?') == std::string::npos ? "?" : "&") +
           "offset=" + std::to_string(next);
  }
  FAIL() << "the list never ends";
}

INSTANTIATE_TEST_SUITE_P(
    Serve, EveryRoute,
    ::testing::Values(
        Route{"About", "GET", "/about", "", 200, "About"},
        Route{"Session", "GET", "/session", "", 200, "UserBean"},
        Route{"Logout", "DELETE", "/session", "", 200, ""},
        Route{"Sessions", "GET", "/sessions", "", 200, "Sessions"},
        Route{"Applications", "GET", "/applications", "", 200, "ApplicationList"},
        Route{"Application", "GET", "/applications/Demo", "", 200, "Application"},
        Route{"StopApplication", "PUT", "/applications/Demo?action=stop", "", 200, ""},
        Route{"Databases", "GET", "/applications/Sample/databases", "", 200, "CubeList"},
        Route{"Database", "GET", "/applications/Sample/databases/Spare", "", 200, "Cube"},
        Route{"StartDatabase", "PUT", std::string(kBasic) + "?action=start", "", 200, ""},
        Route{"Filters", "GET", std::string(kBasic) + "/filters", "", 200, "FilterList"},
        Route{"FiltersWithoutLinks", "GET", std::string(kBasic) + "/filters?links=none", "", 200,
              "FilterList"},
        Route{"Filter", "GET", std::string(kBasic) + "/filters/F2", "", 200, "FilterBean"},
        Route{"Rows", "GET", std::string(kBasic) + "/filters/F1/rows", "", 200, "FilterRowList"},
        Route{"CreateFilter", "POST", std::string(kBasic) + "/filters", kFilterBody, 200,
              "FilterBean"},
        Route{"UpdateFilter", "PUT", std::string(kBasic) + "/filters/F2",
              R"({"name":"F2","rows":[{"access":"Write","mbrSpec":"\"Budget\""}]})", 200,
              "FilterBean"},
        Route{"ServerFailure", "DELETE", std::string(kBasic) + "/filters/F3", "", 500, "Error"},
        Route{"UnknownApplication", "GET", "/applications/Nope", "", 400, "Error"},
        Route{"UnknownDatabase", "GET", "/applications/Sample/databases/Nope", "", 400, "Error"},
        Route{"UnknownFilter", "GET", std::string(kBasic) + "/filters/Nope", "", 400, "Error"},
        Route{"UnknownFiltersRows", "GET", std::string(kBasic) + "/filters/Nope/rows", "", 400,
              "Error"},
        Route{"BadOffset", "GET", "/applications?offset=-1", "", 400, "Error"},
        Route{"NoResource", "GET", "/nothing", "", 404, "Error"},
        Route{"MethodNotServed", "DELETE", "/applications/Sample", "", 405, "Error"},
        Route{"NotJson", "POST", std::string(kBasic) + "/filters", kFilterBody, 415, "Error",
              "text/plain"},
        Route{"Anonymous", "GET", "/applications", "", 401, "Error", "application/json", true}),
    [](const auto& info) { return std::string(info.param.name); });

// The reference's own example bodies hold to its definitions: the check reads
// them as the reference means them.
struct Example {
  const char* file;
  const char* definition;
};

void PrintTo(const Example& c, std::ostream* os) {
  *os << c.file;
}

class ReferenceExample : public ::testing::TestWithParam<Example> {};

TEST_P(ReferenceExample, HoldsToItsDefinition) {
  const std::string text = support::ReadFile(std::string(REST_FIXTURES) + "/" + GetParam().file);
  const json body = json::parse(text, nullptr, false);
  ASSERT_FALSE(body.is_discarded()) << GetParam().file;
  EXPECT_EQ(Dump(Reference().Errors(body, GetParam().definition)), "");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ReferenceExample,
                         ::testing::Values(Example{"about.json", "About"},
                                           Example{"application.json", "Application"},
                                           Example{"filter.json", "FilterBean"},
                                           Example{"filter-rows.json", "FilterRowList"},
                                           Example{"list-applications.json", "ApplicationList"},
                                           Example{"list-databases.json", "CubeList"},
                                           Example{"list-filters.json", "FilterList"},
                                           Example{"list-sessions.json", "Sessions"},
                                           Example{"session.json", "UserBean"},
                                           Example{"error-validate-filter.json", "Error"}),
                         [](const auto& info) {
                           std::string name;
                           for (const char* c = info.param.file; *c && *c != '.'; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

struct Breach {
  const char* name;
  const char* definition;
  const char* body;
  const char* error;  // a part of the error it must give
};

void PrintTo(const Breach& c, std::ostream* os) {
  *os << c.name;
}

class SchemaBreach : public ::testing::TestWithParam<Breach> {};

TEST_P(SchemaBreach, IsRefused) {
  const json body = json::parse(GetParam().body);
  const std::string errors = Dump(Reference().Errors(body, GetParam().definition));
  EXPECT_NE(errors.find(GetParam().error), std::string::npos) << errors;
}

INSTANTIATE_TEST_SUITE_P(
    Check, SchemaBreach,
    ::testing::Values(Breach{"MissingRequired", "FilterRow", R"({"access":"Read"})",
                             "$: required \"mbrSpec\" is missing"},
                      Breach{"RequiredInsideAList", "FilterRowList",
                             R"({"items":[{"mbrSpec":"x"}]})", "$.items[0]: required \"access\""},
                      Breach{"WrongType", "FilterList", R"({"items":[],"count":"2"})",
                             "$.count: \"2\" is not of type integer"},
                      Breach{"WrongTypeThroughRef", "FilterList", R"({"items":[{"name":7}]})",
                             "$.items[0].name: 7 is not of type string"},
                      Breach{"NotAnObject", "About", R"(["Essbase"])", "is not of type object"},
                      Breach{"OutsideEnum", "Application", R"({"name":"A","type":"OLAP"})",
                             "$.type: \"OLAP\" is not one of"},
                      Breach{"OutsideInt32", "Application", R"({"connectedUsersCount":2147483648})",
                             "is outside int32"},
                      Breach{"OutsideInt64", "FilterList",
                             R"({"totalResults":9223372036854775808})", "is outside int64"},
                      Breach{"InventedField", "FilterBean", R"({"name":"F","active":true})",
                             "$.active: not a property"},
                      Breach{"AdditionalOfWrongType", "FilterList", R"({"properties":{"k":1}})",
                             "$.properties.k: 1 is not of type string"},
                      Breach{"ErrorWithoutMessage", "Error", R"({"errorCode":1051030})",
                             "required \"errorMessage\""},
                      Breach{"UnknownDefinition", "NoSuchBean", R"({})", "no definition"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SchemaCheckTest, KeywordOutsideTheSubsetIsReportedNotPassedOver) {
  const auto errors =
      Reference().ErrorsAgainst(json::object(), {{"type", "object"}, {"minProperties", 1}});
  EXPECT_EQ(Dump(errors), "$: the check does not read \"minProperties\"\n");
}

}  // namespace
}  // namespace servetest
