// Paging of every list: the page arithmetic, the query's refusals, and the
// lists of a running server walked page by page.
#include <gtest/gtest.h>

#include "sim/serve/Paging.h"
#include "tests/serve/ServeFixture.h"

namespace servetest {
namespace {

using esbsim::serve::Cut;
using esbsim::serve::PageQuery;
using esbsim::serve::ReadPageQuery;
using nlohmann::json;

struct CutCase {
  const char* name;
  size_t offset;
  std::optional<size_t> limit;
  size_t total, pageSize, fallback;
  size_t begin, end, limitShown;
  bool hasMore;
};

void PrintTo(const CutCase& c, std::ostream* os) {
  *os << c.name;
}

class PageCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(PageCut, ShowsTheItemsAskedForWithinTheCap) {
  const CutCase& c = GetParam();
  const auto page = Cut(PageQuery{c.offset, c.limit}, c.total, c.pageSize, c.fallback);
  EXPECT_EQ(page.begin, c.begin);
  EXPECT_EQ(page.end, c.end);
  EXPECT_EQ(page.limit, c.limitShown);
  EXPECT_EQ(page.hasMore, c.hasMore);
  EXPECT_EQ(page.offset, c.offset);
  EXPECT_EQ(page.total, c.total);
}

INSTANTIATE_TEST_SUITE_P(
    Paging, PageCut,
    ::testing::Values(CutCase{"Uncapped", 0, std::nullopt, 5, 0, 0, 0, 5, 5, false},
                      CutCase{"UncappedFromOffset", 2, std::nullopt, 5, 0, 0, 2, 5, 3, false},
                      CutCase{"LimitBelowTotal", 0, 2, 5, 0, 0, 0, 2, 2, true},
                      CutCase{"LastPartialPage", 4, 2, 5, 0, 0, 4, 5, 2, false},
                      CutCase{"ExactlyTheRest", 3, 2, 5, 0, 0, 3, 5, 2, false},
                      CutCase{"PageSizeCapsLimit", 0, 10, 5, 2, 0, 0, 2, 2, true},
                      CutCase{"LimitBelowPageSize", 0, 1, 5, 2, 0, 0, 1, 1, true},
                      CutCase{"PageSizeWithoutLimit", 0, std::nullopt, 5, 3, 0, 0, 3, 3, true},
                      CutCase{"FallbackWithoutLimit", 0, std::nullopt, 60, 0, 50, 0, 50, 50, true},
                      CutCase{"LimitOverridesFallback", 0, 55, 60, 0, 50, 0, 55, 55, true},
                      CutCase{"PageSizeCapsFallback", 0, std::nullopt, 60, 2, 50, 0, 2, 2, true},
                      CutCase{"OffsetAtTheEnd", 5, 2, 5, 0, 0, 5, 5, 2, false},
                      CutCase{"OffsetPastTheEnd", 9, std::nullopt, 5, 0, 0, 5, 5, 0, false},
                      CutCase{"EmptyList", 0, std::nullopt, 0, 2, 0, 0, 0, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct QueryCase {
  const char* name;
  std::optional<std::string> offset, limit;
  bool ok;
  size_t offsetRead = 0;
  std::optional<size_t> limitRead;
};

void PrintTo(const QueryCase& c, std::ostream* os) {
  *os << c.name;
}

class PageQueryText : public ::testing::TestWithParam<QueryCase> {};

TEST_P(PageQueryText, IsReadOrRefused) {
  const QueryCase& c = GetParam();
  PageQuery q;
  std::string why;
  ASSERT_EQ(ReadPageQuery(c.offset, c.limit, q, why), c.ok) << why;
  if (!c.ok) {
    EXPECT_FALSE(why.empty());
    return;
  }
  EXPECT_EQ(q.offset, c.offsetRead);
  EXPECT_EQ(q.limit, c.limitRead);
}

INSTANTIATE_TEST_SUITE_P(
    Paging, PageQueryText,
    ::testing::Values(QueryCase{"Neither", std::nullopt, std::nullopt, true, 0, std::nullopt},
                      QueryCase{"Both", "3", "7", true, 3, 7},
                      QueryCase{"ZeroOffset", "0", std::nullopt, true, 0, std::nullopt},
                      QueryCase{"LargestInt32", "2147483647", "2147483647", true, 2147483647,
                                2147483647},
                      QueryCase{"PastInt32", std::nullopt, "2147483648", false, 0, std::nullopt},
                      QueryCase{"LimitZero", std::nullopt, "0", false, 0, std::nullopt},
                      QueryCase{"NegativeLimit", std::nullopt, "-1", false, 0, std::nullopt},
                      QueryCase{"NegativeOffset", "-1", std::nullopt, false, 0, std::nullopt},
                      QueryCase{"NotANumber", "x", std::nullopt, false, 0, std::nullopt},
                      QueryCase{"Fraction", std::nullopt, "1.5", false, 0, std::nullopt},
                      QueryCase{"Plus", "+1", std::nullopt, false, 0, std::nullopt},
                      QueryCase{"Empty", "", std::nullopt, false, 0, std::nullopt},
                      QueryCase{"Blank", " 1", std::nullopt, false, 0, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct ListCase {
  const char* name;
  const char* path;
  std::vector<std::string> whole;  // names (or row texts) in order
};

void PrintTo(const ListCase& c, std::ostream* os) {
  *os << c.name;
}

std::string Key(const json& item) {
  return item.contains("mbrSpec") ? item["mbrSpec"].get<std::string>()
                                  : item["name"].get<std::string>();
}

class PagedList : public ServeTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(PagedList, PagesOfTwoAddUpToTheWholeList) {
  Serve({}, {"--page-size", "2"});
  auto client = Connect();
  const size_t total = GetParam().whole.size();
  std::vector<std::string> seen;
  for (size_t offset = 0;; offset += 2) {
    const Answer a =
        client->Get(std::string(GetParam().path) + "?offset=" + std::to_string(offset));
    ASSERT_EQ(a.status, 200) << a.body;
    const json page = a.Json();
    ASSERT_EQ(page["offset"], offset);
    ASSERT_EQ(page["totalResults"], total);
    ASSERT_EQ(page["count"], page["items"].size());
    ASSERT_EQ(page["limit"], 2);
    for (const json& item : page["items"]) seen.push_back(Key(item));
    ASSERT_EQ(page["hasMore"], offset + 2 < total) << "at offset " << offset;
    if (!page["hasMore"].get<bool>()) break;
  }
  EXPECT_EQ(seen, GetParam().whole);
}

TEST_P(PagedList, OffsetPastTheEndIsAnEmptyLastPage) {
  Serve({}, {"--page-size", "2"});
  const Answer a = Connect()->Get(std::string(GetParam().path) + "?offset=40");
  ASSERT_EQ(a.status, 200) << a.body;
  const json page = a.Json();
  EXPECT_EQ(page["items"], json::array());
  EXPECT_EQ(page["count"], 0);
  EXPECT_EQ(page["hasMore"], false);
  EXPECT_EQ(page["totalResults"], GetParam().whole.size());
}

TEST_P(PagedList, WithoutAPageSizeTheListIsOnePage) {
  Serve();
  const json page = Connect()->Get(GetParam().path).Json();
  EXPECT_EQ(page["count"], GetParam().whole.size());
  EXPECT_EQ(page["hasMore"], false);
}

TEST_P(PagedList, LimitBelowThePageSizeIsHonoured) {
  Serve({}, {"--page-size", "2"});
  const json page = Connect()->Get(std::string(GetParam().path) + "?limit=1&offset=1").Json();
  ASSERT_EQ(page["items"].size(), 1u);
  EXPECT_EQ(Key(page["items"][0]), GetParam().whole[1]);
  EXPECT_EQ(page["limit"], 1);
  EXPECT_EQ(page["hasMore"], true);
}

TEST_P(PagedList, BadOffsetOrLimitIsABadRequest) {
  Serve();
  auto client = Connect();
  for (const char* query : {"?limit=0", "?limit=-2", "?offset=-1", "?offset=abc", "?limit=2x"}) {
    const Answer a = client->Get(std::string(GetParam().path) + query);
    EXPECT_EQ(a.status, 400) << query;
    EXPECT_TRUE(a.Json().contains("errorMessage")) << query << ": " << a.body;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PagedList,
    ::testing::Values(
        ListCase{"Applications", "/applications", {"Sample", "Demo", "Zeta"}},
        ListCase{"Databases", "/applications/Sample/databases", {"Basic", "Spare", "Third"}},
        ListCase{"Filters",
                 "/applications/Sample/databases/Basic/filters",
                 {"F1", "F2", "F3", "F4", "F5"}},
        ListCase{
            "Rows",
            "/applications/Sample/databases/Basic/filters/F1/rows",
            {"\"Member1_1\"", "\"Member1_2\"", "\"Member1_3\"", "\"Member1_4\"", "\"Member1_5\""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServeTest, ApplicationsComeFiftyToAPageUnlessTheLimitSaysOtherwise) {
  std::string many = "server\tsrv\nuser\tu\tpw\t275\n";
  for (int i = 0; i < 52; ++i) many += "app\tA" + std::to_string(i) + "\tloaded\n";
  Serve({}, {}, many);
  auto client = Connect();
  const json first = client->Get("/applications").Json();
  EXPECT_EQ(first["count"], 50);
  EXPECT_EQ(first["limit"], 50);
  EXPECT_EQ(first["hasMore"], true);
  const json all = client->Get("/applications?limit=60").Json();
  EXPECT_EQ(all["count"], 52);
  EXPECT_EQ(all["hasMore"], false);
}

TEST_F(ServeTest, PageSizeMustBeAWholeNumberFromOne) {
  Load();
  for (const char* bad : {"0", "-1", "x", ""})
    EXPECT_EQ(support::RunCaptured(ESBSIM_PATH, {"serve", store(), "--page-size", bad}).status, 2)
        << bad;
  EXPECT_EQ(support::RunCaptured(ESBSIM_PATH, {"serve", store(), "--page-size"}).status, 2);
}

}  // namespace
}  // namespace servetest
