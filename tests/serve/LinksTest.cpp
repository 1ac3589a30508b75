// Links in list items and single answers: absolute from the address the
// client used, and each one leads where it says.
#include <gtest/gtest.h>

#include "sim/serve/Links.h"
#include "tests/serve/ServeFixture.h"

namespace servetest {
namespace {

using nlohmann::json;

TEST(LinkSegmentTest, KeepsUnreservedAndEscapesTheRest) {
  EXPECT_EQ(esbsim::serve::Segment("Az09-._~"), "Az09-._~");
  EXPECT_EQ(esbsim::serve::Segment("a b/c%"), "a%20b%2Fc%25");
  EXPECT_EQ(esbsim::serve::Segment("\xC3\xA9"), "%C3%A9");
}

// Every link of a body, wherever it sits.
void Collect(const json& v, std::vector<json>& links) {
  if (v.is_object() && v.contains("links"))
    for (const json& l : v["links"]) links.push_back(l);
  if (v.is_structured())
    for (const json& child : v) Collect(child, links);
}

TEST_F(ServeTest, LinksAreAbsoluteFromTheHostTheClientAsked) {
  Serve();
  auto client = Connect();
  const httplib::Headers host{{"Host", "essbase.example.test:9001"}};
  for (const char* path :
       {"/applications", "/applications/Sample", "/applications/Sample/databases",
        "/applications/Sample/databases/Basic", "/applications/Sample/databases/Basic/filters",
        "/applications/Sample/databases/Basic/filters/F1", "/session"}) {
    std::vector<json> links;
    Collect(client->Get(path, host).Json(), links);
    EXPECT_FALSE(links.empty()) << path;
    for (const json& l : links)
      EXPECT_EQ(l["href"].get<std::string>().rfind(
                    "http://essbase.example.test:9001/essbase/rest/v1/", 0),
                0u)
          << path << ": " << l.dump();
  }
}

TEST_F(ServeTest, EveryLinkLeadsToWhatItNames) {
  Serve();
  auto client = Connect();
  std::vector<json> links;
  for (const char* path : {"/applications", "/applications/Sample/databases",
                           "/applications/Sample/databases/Basic/filters"})
    Collect(client->Get(path).Json(), links);
  const std::string origin = url().substr(0, url().find("/essbase"));
  size_t followed = 0;
  for (const json& l : links) {
    const std::string href = l["href"];
    ASSERT_EQ(href.rfind(origin, 0), 0u) << href;
    if (l["method"] != "GET") continue;
    const Answer a = client->Get(href.substr(origin.size()));
    EXPECT_EQ(a.status, 200) << l.dump() << ": " << a.body;
    ++followed;
  }
  // Three applications (self, child), three databases, five filters (get, rows).
  EXPECT_EQ(followed, 3u * 2 + 3 + 5u * 2);
}

TEST_F(ServeTest, FilterLinksAreTheReferencesFour) {
  Serve();
  const json filter = Connect()->Get("/applications/Sample/databases/Basic/filters/F1").Json();
  std::vector<std::string> rels;
  for (const json& l : filter["links"])
    rels.push_back(l["rel"].get<std::string>() + " " + l["method"].get<std::string>());
  EXPECT_EQ(rels, (std::vector<std::string>{"get GET", "delete DELETE", "edit PUT", "rows GET"}));
  EXPECT_FALSE(filter.contains("rows"));
}

TEST_F(ServeTest, LinksNoneLeavesThemOut) {
  Serve();
  std::vector<json> links;
  Collect(Connect()->Get("/applications/Sample/databases/Basic/filters?links=none").Json(), links);
  Collect(Connect()->Get("/applications?links=none").Json(), links);
  EXPECT_TRUE(links.empty());
}

}  // namespace
}  // namespace servetest
