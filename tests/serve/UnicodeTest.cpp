// The REST front serves the store's texts as they are, up to the store's
// limits: names of 30, 30 and 256 characters and rows in any script, whole,
// page by page, in answers that hold to the reference's definitions.
#include <gtest/gtest.h>

#include "sim/serve/Links.h"
#include "tests/serve/SchemaCheck.h"
#include "tests/serve/ServeFixture.h"

namespace servetest {
namespace {

using esbsim::serve::Segment;
using nlohmann::json;

std::string Times(const std::string& s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";  // 東京
const std::string kEuro = "\xE2\x82\xAC";
const std::string kRegion = "R\xC3\xA9gion";
// 30 characters.
const std::string kApp = "Efficient_Filters_" + kRegion + "_" + kTokyo + Times(kEuro, 3);
// 256 characters in three scripts.
const std::string kFilter = Times(kRegion + kTokyo + kEuro, 28) + "1234";
const std::string kRows[] = {"\"" + kRegion + "\"", "\"" + kEuro + "\"", "\"" + kTokyo + "\""};

std::string UnicodeStore() {
  return "server\tsrv\n"
         "user\tu\tpw\t275\n"
         "app\t" + kApp + "\tunloaded\n"
         "db\t" + kApp + "\tUserFilters\n"
         "filter\t" + kApp + "\tUserFilters\t" + kFilter + "\t1\t375\n"
         "row\t273\t" + kRows[0] + "\n"
         "row\t275\t" + kRows[1] + "\n"
         "row\t0\t" + kRows[2] + "\n"
         "filter\t" + kApp + "\tUserFilters\t" + kRegion + "\t1\t375\n"
         "filter\t" + kApp + "\tUserFilters\t" + kTokyo + "\t1\t375\n"
         "app\tSample\tloaded\n"
         "app\t" + kTokyo + "_Tokyo\tunloaded\n";
}

const std::string kFilters = "/applications/" + Segment(kApp) + "/databases/UserFilters/filters";

class Unicode : public ServeTest {
 protected:
  void SetUp() override { Serve({}, {"--page-size", "2"}, UnicodeStore()); }

  // Every item of a list, page after page, each page held to its definition.
  std::vector<json> Walk(const std::string& path, const char* definition) {
    auto client = Connect();
    std::vector<json> items;
    for (size_t offset = 0, pages = 0; pages < 20; ++pages) {
      const Answer a = client->Get(path + "?offset=" + std::to_string(offset));
      EXPECT_EQ(a.status, 200) << a.body;
      const json page = a.Json();
      EXPECT_EQ(Errors(page, definition), "") << a.body;
      if (!page.is_object() || !page.contains("items")) break;
      EXPECT_LE(page["items"].size(), 2u);
      for (const json& item : page["items"]) items.push_back(item);
      if (!page.value("hasMore", false)) break;
      offset += page["items"].size();
    }
    return items;
  }
  static std::string Errors(const json& body, const char* definition) {
    std::string all;
    for (const auto& e : Reference().Errors(body, definition)) all += e + "\n";
    return all;
  }
  static std::vector<std::string> Names(const std::vector<json>& items) {
    std::vector<std::string> names;
    for (const json& item : items) names.push_back(item.value("name", ""));
    return names;
  }
};

// The limits themselves: a name one character short would prove less.
TEST_F(Unicode, NamesAreAtTheStoresLimits) {
  size_t app = 0, filter = 0;
  for (unsigned char c : kApp) app += (c & 0xC0) != 0x80;
  for (unsigned char c : kFilter) filter += (c & 0xC0) != 0x80;
  EXPECT_EQ(app, 30u);
  EXPECT_EQ(filter, 256u);
}

TEST_F(Unicode, ApplicationsComeWholeAcrossPages) {
  EXPECT_EQ(Names(Walk("/applications", "ApplicationList")),
            (std::vector<std::string>{kApp, "Sample", kTokyo + "_Tokyo"}));
}

TEST_F(Unicode, DatabaseOfAThirtyCharacterApplicationIsServed) {
  const std::vector<json> cubes =
      Walk("/applications/" + Segment(kApp) + "/databases", "CubeList");
  ASSERT_EQ(cubes.size(), 1u);
  EXPECT_EQ(cubes[0]["name"], "UserFilters");
  EXPECT_EQ(cubes[0]["application"], kApp);
  auto client = Connect();
  const std::string cube = "/applications/" + Segment(kApp) + "/databases/UserFilters";
  const Answer a = client->Get(cube);
  ASSERT_EQ(a.status, 200) << a.body;
  EXPECT_EQ(Errors(a.Json(), "Cube"), "");
  ASSERT_EQ(client->Put(cube + "?action=start", "", "").status, 200);
  const json app = client->Get("/applications/" + Segment(kApp)).Json();
  EXPECT_EQ(Errors(app, "Application"), "");
  EXPECT_EQ(app["name"], kApp);
  EXPECT_EQ(app["status"], "started");
}

TEST_F(Unicode, FiltersComeWholeAcrossPagesAndTheirLinksLeadToThem) {
  const std::vector<json> filters = Walk(kFilters, "FilterList");
  EXPECT_EQ(Names(filters), (std::vector<std::string>{kFilter, kRegion, kTokyo}));
  auto client = Connect();
  const std::string origin = url().substr(0, url().find("/essbase"));
  for (const json& f : filters)
    for (const json& link : f["links"]) {
      if (link["rel"] != "get") continue;
      const Answer a = client->Get(link["href"].get<std::string>().substr(origin.size()));
      ASSERT_EQ(a.status, 200) << a.body;
      EXPECT_EQ(Errors(a.Json(), "FilterBean"), "");
      EXPECT_EQ(a.Json()["name"], f["name"]);
    }
}

TEST_F(Unicode, RowsInThreeScriptsComeWholeAcrossPages) {
  const std::vector<json> rows = Walk(kFilters + "/" + Segment(kFilter) + "/rows", "FilterRowList");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (json{{"access", "Read"}, {"mbrSpec", kRows[0]}}));
  EXPECT_EQ(rows[1], (json{{"access", "Write"}, {"mbrSpec", kRows[1]}}));
  EXPECT_EQ(rows[2], (json{{"access", "None"}, {"mbrSpec", kRows[2]}}));
}

json RowsBody(const std::string& name, const std::vector<std::string>& specs) {
  json rows = json::array();
  for (const auto& s : specs) rows.push_back({{"access", "Read"}, {"mbrSpec", s}});
  json body = {{"rows", rows}};
  if (!name.empty()) body["name"] = name;
  return body;
}

TEST_F(Unicode, FilterCreatedAndUpdatedReadsBackAsWritten) {
  auto client = Connect();
  const std::string name = Times(kTokyo, 127) + kEuro + kRegion.substr(0, 1);  // 256
  const Answer created =
      client->Post(kFilters, RowsBody(name, {kRows[0], kRows[1], kRows[2]}).dump());
  ASSERT_EQ(created.status, 200) << created.body;
  EXPECT_EQ(Errors(created.Json(), "FilterBean"), "");
  EXPECT_EQ(created.Json()["name"], name);
  const std::string rows = kFilters + "/" + Segment(name) + "/rows";
  std::vector<std::string> specs;
  for (const json& r : Walk(rows, "FilterRowList")) specs.push_back(r["mbrSpec"]);
  EXPECT_EQ(specs, (std::vector<std::string>{kRows[0], kRows[1], kRows[2]}));

  const Answer updated =
      client->Put(kFilters + "/" + Segment(name), RowsBody("", {kTokyo + kEuro}).dump());
  ASSERT_EQ(updated.status, 200) << updated.body;
  EXPECT_EQ(Errors(updated.Json(), "FilterBean"), "");
  const std::vector<json> now = Walk(rows, "FilterRowList");
  ASSERT_EQ(now.size(), 1u);
  EXPECT_EQ(now[0]["mbrSpec"], kTokyo + kEuro);
  EXPECT_EQ(Names(Walk(kFilters, "FilterList")).back(), name);
}

// 8192 characters of three bytes each: a limit in bytes would refuse it.
TEST_F(Unicode, LongestRowIsHeldWhole) {
  auto client = Connect();
  const std::string longest = Times(kTokyo, 4096);
  ASSERT_EQ(client->Post(kFilters, RowsBody("Long", {longest}).dump()).status, 200);
  const json rows = client->Get(kFilters + "/Long/rows").Json();
  ASSERT_EQ(rows["items"].size(), 1u);
  EXPECT_EQ(rows["items"][0]["mbrSpec"], longest);
  const Answer over = client->Post(kFilters, RowsBody("Longer", {longest + "x"}).dump());
  EXPECT_EQ(over.status, 400);
  EXPECT_EQ(over.Json()["errorCode"], 1051048);
}

// Get Filter Rows is EsbGetFilter and one EsbGetFilterRow per row: a fault
// after two rows fails the request, and is spent by it.
TEST_F(Unicode, FaultLineFiresOnTheRowOfItsCount) {
  serve_.reset();
  Serve("fault\tEsbGetFilterRow\t1030030\t2\t1\n", {"--page-size", "2"}, UnicodeStore());
  auto client = Connect();
  const std::string rows = kFilters + "/" + Segment(kFilter) + "/rows";
  const Answer failed = client->Get(rows);
  EXPECT_EQ(failed.status, 500) << failed.body;
  EXPECT_EQ(failed.Json()["errorCode"], 1030030);
  EXPECT_EQ(client->Get(rows).Json()["totalResults"], 3);
}

}  // namespace
}  // namespace servetest
