// Refusals as the reference gives them: the status of each, and bodies of
// errorMessage (with errorCode only for a server status), no invented prefix.
#include <gtest/gtest.h>

#include "tests/serve/ServeFixture.h"

namespace servetest {
namespace {

using nlohmann::json;

constexpr const char* kFilters = "/applications/Sample/databases/Basic/filters";

struct Refusal {
  const char* name;
  const char* method;
  std::string path;
  std::string body;
  const char* type;
  int status;
  int32_t code;         // the errorCode expected; 0: none
  const char* mention;  // a part of the message
};

void PrintTo(const Refusal& c, std::ostream* os) {
  *os << c.name;
}

const std::string kRow = R"({"access":"Read","mbrSpec":"\"East\""})";
const std::string k257(257, 'f');

class Refused : public ServeTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(Refused, WithItsStatusAndAPlainMessage) {
  const Refusal& r = GetParam();
  Serve();
  const Answer a = Connect()->Send(r.method, r.path, r.body, r.type);
  ASSERT_EQ(a.status, r.status) << a.body;
  const json body = a.Json();
  ASSERT_TRUE(body.is_object()) << a.body;
  const std::string message = body.value("errorMessage", "");
  EXPECT_NE(message.find(r.mention), std::string::npos) << message;
  EXPECT_EQ(message.find("Essbase Error"), std::string::npos) << message;
  if (r.code)
    EXPECT_EQ(body.value("errorCode", 0), r.code);
  else
    EXPECT_FALSE(body.contains("errorCode")) << a.body;
}

INSTANTIATE_TEST_SUITE_P(
    Serve, Refused,
    ::testing::Values(
        Refusal{"UnknownApplication", "GET", "/applications/Nope", "", "", 400, 1051030, "Nope"},
        Refusal{"UnknownApplicationsDatabases", "GET", "/applications/Nope/databases", "", "", 400,
                1051030, "Nope"},
        Refusal{"UnknownDatabase", "GET", "/applications/Sample/databases/Nope", "", "", 400,
                1051031, "Nope"},
        Refusal{"UnknownDatabasesFilters", "GET", "/applications/Sample/databases/Nope/filters", "",
                "", 400, 1051031, "Nope"},
        Refusal{"GetUnknownFilter", "GET", std::string(kFilters) + "/Nope", "", "", 400, 1051047,
                "Nope"},
        Refusal{"RowsOfUnknownFilter", "GET", std::string(kFilters) + "/Nope/rows", "", "", 400,
                1051047, "Nope"},
        Refusal{"DeleteUnknownFilter", "DELETE", std::string(kFilters) + "/Nope", "", "", 400,
                1051047, "Nope"},
        Refusal{"UpdateUnknownFilter", "PUT", std::string(kFilters) + "/Nope",
                "{\"rows\":[" + kRow + "]}", "application/json", 400, 1051047, "Nope"},
        Refusal{"CreateExistingFilter", "POST", kFilters, "{\"name\":\"F2\",\"rows\":[]}",
                "application/json", 400, 1051041, "F2"},
        Refusal{"NameNotUtf8", "GET", std::string(kFilters) + "/caf%E9", "", "", 400, 1051041,
                "256"},
        Refusal{"NameLongerThanTheStoreHolds", "GET", std::string(kFilters) + "/" + k257, "", "",
                400, 1051041, "256"},
        Refusal{"ApplicationNameLongerThanTheStoreHolds", "GET",
                "/applications/" + std::string(31, 'A') + "/databases", "", "", 400, 1051041,
                "30"},
        Refusal{"DatabaseNameLongerThanTheStoreHolds", "GET",
                "/applications/Sample/databases/" + std::string(31, 'D'), "", "", 400, 1051041,
                "30"},
        Refusal{"CreateWithNameLongerThanTheStoreHolds", "POST", kFilters,
                "{\"name\":\"" + k257 + "\",\"rows\":[]}", "application/json", 400, 1051041,
                "256"},
        Refusal{"RowLongerThanTheStoreHolds", "PUT", std::string(kFilters) + "/F2",
                "{\"rows\":[{\"access\":\"Read\",\"mbrSpec\":\"" + std::string(8193, 'x') +
                    "\"}]}",
                "application/json", 400, 1051048, "8192"},
        Refusal{"EmptyRow", "PUT", std::string(kFilters) + "/F2",
                R"({"rows":[{"access":"Read","mbrSpec":""}]})", "application/json", 400, 1051048,
                "row 1"},
        Refusal{"UnknownAccess", "PUT", std::string(kFilters) + "/F2",
                R"({"rows":[{"access":"Maybe","mbrSpec":"x"}]})", "application/json", 400, 1051048,
                "Maybe"},
        Refusal{"BodyNotJson", "POST", kFilters, "name=F9", "application/json", 400, 0,
                "not a filter"},
        Refusal{"RowsNotAList", "POST", kFilters, R"({"name":"F9","rows":{}})", "application/json",
                400, 0, "rows"},
        Refusal{"CreateWithoutName", "POST", kFilters, "{\"rows\":[" + kRow + "]}",
                "application/json", 400, 0, "no name"},
        Refusal{"UpdateNamingAnother", "PUT", std::string(kFilters) + "/F2",
                R"({"name":"F3","rows":[]})", "application/json", 400, 0, "F3"},
        Refusal{"CreateAsText", "POST", kFilters, "{\"name\":\"F9\"}", "text/plain", 415, 0,
                "application/json"},
        Refusal{"CreateWithoutType", "POST", kFilters, "{\"name\":\"F9\"}", "", 415, 0,
                "application/json"},
        Refusal{"UpdateAsForm", "PUT", std::string(kFilters) + "/F2", "{\"rows\":[]}",
                "application/x-www-form-urlencoded", 415, 0, "application/json"},
        Refusal{"StopWithAnotherAction", "PUT", "/applications/Sample?action=restart", "", "", 400,
                0, "restart"},
        Refusal{"NoSuchResource", "GET", "/nothing", "", "", 404, 0, "no such resource"},
        Refusal{"PastTheRows", "GET", std::string(kFilters) + "/F1/rows/1", "", "", 404, 0,
                "no such resource"},
        Refusal{"OutsideTheApi", "GET", "/essbase/rest/v2/applications", "", "", 404, 0,
                "no such resource"},
        Refusal{"MalformedEscape", "GET", "/applications/Sa%zzple", "", "", 404, 0,
                "no such resource"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServeTest, JsonWithACharsetIsTakenAsJson) {
  Serve();
  const Answer a = Connect()->Post(kFilters, "{\"name\":\"F9\",\"rows\":[" + kRow + "]}",
                                   "Application/JSON; charset=utf-8");
  EXPECT_EQ(a.status, 200) << a.body;
}

TEST_F(ServeTest, MethodAResourceDoesNotServeIsRefusedWithWhatItServes) {
  Serve();
  const Answer a = Connect()->Delete("/applications/Sample");
  EXPECT_EQ(a.status, 405);
  EXPECT_EQ(a.Header("Allow"), "GET, PUT");
}

TEST_F(ServeTest, OtherServerStatusesAreServerErrorsCarryingTheStatus) {
  Serve("fault\tEsbGetFilter\t1030030\t0\t0\n");
  const Answer a = Connect()->Get(std::string(kFilters) + "/F2");
  EXPECT_EQ(a.status, 500);
  EXPECT_EQ(a.Json()["errorCode"], 1030030);
}

// Update Filter stands for EsbSetFilter, one EsbSetFilterRow per row and the
// closing call: a fault on the closing call fails the request and leaves the
// filter as it was.
TEST_F(ServeTest, UpdateFailingAtTheClosingCallLeavesTheFilterAsItWas) {
  Serve("fault\tEsbSetFilterRow\t1030030\t2\t1\n");
  auto client = Connect();
  const std::string rows =
      R"({"rows":[{"access":"Write","mbrSpec":"a"},{"access":"Write","mbrSpec":"b"}]})";
  const Answer a = client->Put(std::string(kFilters) + "/F2", rows);
  EXPECT_EQ(a.status, 500);
  EXPECT_NE(a.Json().value("errorMessage", "").find("closing"), std::string::npos) << a.body;
  const json kept = client->Get(std::string(kFilters) + "/F2/rows").Json();
  ASSERT_EQ(kept["items"].size(), 1u);
  EXPECT_EQ(kept["items"][0]["mbrSpec"], "\"Member2_1\"");
  EXPECT_EQ(client->Put(std::string(kFilters) + "/F2", rows).status, 200);
  EXPECT_EQ(client->Get(std::string(kFilters) + "/F2/rows").Json()["count"], 2);
}

TEST_F(ServeTest, LatinOneNamesAndRowsTravelAsUtf8) {
  Serve();
  auto client = Connect();
  const std::string body =
      R"({"name":"Caf\u00e9","rows":[{"access":"Read","mbrSpec":"\"M\u00fcnchen\""}]})";
  ASSERT_EQ(client->Post(kFilters, body).status, 200);
  const json rows = client->Get(std::string(kFilters) + "/Caf%C3%A9/rows").Json();
  EXPECT_EQ(rows["items"][0]["mbrSpec"], "\"M\xC3\xBCnchen\"");
}

}  // namespace
}  // namespace servetest
