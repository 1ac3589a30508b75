// Pages that must add up, alone: every way a server's pages can disagree
// fails the listing with a why; nothing is dropped or read twice.
#include <gtest/gtest.h>

#include "essbase/rest/Listing.h"
#include "essbase/rest/Paging.h"
#include "essbase/rest/RestStatus.h"

namespace {

using namespace essbase::rest;

ListPage Page(size_t items, std::optional<bool> hasMore, std::optional<int64_t> offset = {},
              std::optional<int64_t> total = {}, std::optional<int64_t> count = {}) {
  ListPage p;
  p.items = items;
  p.hasMore = hasMore;
  p.offset = offset;
  p.totalResults = total;
  p.count = count;
  return p;
}

TEST(Pages, FollowHasMoreByTheItemsGivenAndAskByOffsetAndLimit) {
  Pages pages;
  std::string why;
  EXPECT_EQ(pages.Url("/a"), "/a?offset=0&limit=500");
  ASSERT_TRUE(pages.Take(Page(2, true, 0, 5, 2), 1, why)) << why;
  EXPECT_FALSE(pages.done());
  EXPECT_EQ(pages.Url("/a?x=1"), "/a?x=1&offset=2&limit=500");
  ASSERT_TRUE(pages.Take(Page(2, true, 2, 5), 2, why)) << why;
  ASSERT_TRUE(pages.Take(Page(1, false, 4, 5), 3, why)) << why;
  EXPECT_TRUE(pages.done());
  EXPECT_EQ(pages.offset(), 5u);
}

TEST(Pages, AnUnpagedAnswerIsOnePage) {
  Pages pages;
  std::string why;
  ASSERT_TRUE(pages.Take(Page(3, std::nullopt), 1, why)) << why;
  EXPECT_TRUE(pages.done());
}

struct Disagreement {
  const char* what;
  std::vector<ListPage> pages;
  std::vector<uint64_t> fingerprints;
  const char* why;
};

class PagesThatDoNotAddUp : public ::testing::TestWithParam<Disagreement> {};

TEST_P(PagesThatDoNotAddUp, FailTheListing) {
  const Disagreement& d = GetParam();
  Pages pages;
  std::string why;
  bool ok = true;
  for (size_t i = 0; i < d.pages.size() && ok; ++i)
    ok = pages.Take(d.pages[i], d.fingerprints[i], why);
  EXPECT_FALSE(ok) << d.what;
  EXPECT_NE(why.find(d.why), std::string::npos) << d.what << ": " << why;
}

INSTANTIATE_TEST_SUITE_P(
    Servers, PagesThatDoNotAddUp,
    ::testing::Values(
        Disagreement{"offset ignored, said so",
                     {Page(2, true, 0), Page(2, true, 0)},
                     {1, 1},
                     "the page at offset 2 came as offset 0: the server ignores offset"},
        Disagreement{"offset ignored, the same page again",
                     {Page(2, true), Page(2, true)},
                     {7, 7},
                     "the page at offset 2 repeats the page before it"},
        Disagreement{"more announced, an empty page",
                     {Page(2, true, 0, 4), Page(0, true, 2, 4)},
                     {1, 2},
                     "the page at offset 2 is empty, though the one before said there were more"},
        Disagreement{"more announced on an empty first page",
                     {Page(0, true)},
                     {1},
                     "the page at offset 0 is empty, though it says there are more"},
        Disagreement{"fewer than totalResults",
                     {Page(2, true, 0, 5), Page(2, false, 2, 5)},
                     {1, 2},
                     "the pages give 4 items, but totalResults says 5"},
        Disagreement{"more than totalResults",
                     {Page(2, true, 0, 3), Page(2, true, 2, 3)},
                     {1, 2},
                     "the pages give more than the 3 items totalResults says"},
        Disagreement{"totalResults changed",
                     {Page(2, true, 0, 5), Page(2, true, 2, 6)},
                     {1, 2},
                     "totalResults went from 5 to 6 between pages"},
        Disagreement{"count disagrees",
                     {Page(2, false, 0, 2, 3)},
                     {1},
                     "the page at offset 0 says count 3 but holds 2 items"}));

http::Response Body(std::string body) {
  http::Response r;
  r.status = 200;
  r.body = std::move(body);
  return r;
}

TEST(NameListing, ANameTwiceFailsTheListingNamingIt) {
  NameListing listing("/f");
  int32_t status = 0;
  std::string why;
  ASSERT_EQ(listing.Take(Body(R"({"items": [{"name": "A"}, {"name": "B"}], "hasMore": true})"),
                         status, why),
            NameListing::State::More);
  EXPECT_EQ(listing.Next().url, "/f?offset=2&limit=500");
  EXPECT_EQ(listing.Take(Body(R"({"items": [{"name": "C"}, {"name": "A"}]})"), status, why),
            NameListing::State::Failed);
  EXPECT_EQ(status, RestStatusBadAnswer);
  EXPECT_EQ(why, "the name \"A\" comes twice");
  // What was read before the failure is kept.
  ASSERT_EQ(listing.items.size(), 3u);
  EXPECT_EQ(listing.items[2].name, "C");
}

TEST(NameListing, ANameThatCannotBeUsedFailsTheListingShownEscaped) {
  const std::pair<const char*, const char*> table[] = {
      {R"({"items": [{"name": ""}]})", "the name \"\" is empty"},
      {R"({"items": [{"name": "a\u001b[2Jb"}]})",
       "the name \"a\\x1b[2Jb\" holds a control character"},
      {R"({"items": [{"name": "ok\u0000"}]})", "the name \"ok\\x00\" holds a control character"},
      {R"({"items": [{"name": "D", "application": "A\u0085"}]})",
       "the name \"D\" of \"A\\u0085\" holds a control character"},
  };
  for (const auto& [body, expected] : table) {
    NameListing listing("/f");
    int32_t status = 0;
    std::string why;
    EXPECT_EQ(listing.Take(Body(body), status, why), NameListing::State::Failed) << body;
    EXPECT_EQ(status, RestStatusNameNotServed) << body;
    EXPECT_EQ(why, expected);
  }
}

TEST(NameListing, RestartsFromTheFirstPage) {
  NameListing listing("/f");
  int32_t status = 0;
  std::string why;
  listing.Take(Body(R"({"items": [{"name": "A"}], "hasMore": true})"), status, why);
  listing.Restart();
  EXPECT_TRUE(listing.items.empty());
  EXPECT_EQ(listing.Next().url, "/f?offset=0&limit=500");
  EXPECT_EQ(listing.Take(Body(R"({"items": [{"name": "A"}]})"), status, why),
            NameListing::State::Done);
}

}  // namespace
