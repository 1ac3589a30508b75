// Listings: creation order, fixed-width fields, the pending-listing protocol.
#include <cstring>

#include "tests/sim/ConformanceFixture.h"

namespace simtest {
namespace {

using namespace essbase;

std::string Padded(const std::string& name, size_t width) {
  std::string f(width, '\0');
  std::memcpy(f.data(), name.data(), name.size());
  return f;
}

using Listing = Conformance;

TEST_P(Listing, ApplicationsComeInCreationOrderNotSorted) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListApplications(c, count), 0);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(Items(c, ItemApplicationName, count),
            (std::vector<std::string>{Padded("Sample", 8), "FULLNAM8", Padded("Zeta", 8)}));
}

TEST_P(Listing, FullWidthDatabaseItemHasNoNul) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListDatabases(c, "FULLNAM8", count), 0);
  ASSERT_EQ(count, 1);
  // Guard bytes beyond the 16-byte field must stay untouched.
  std::string buffer(20, '#');
  ASSERT_EQ(api().EsbGetNextItem(c, ItemDatabaseName, buffer), 0);
  EXPECT_EQ(buffer, "FULLNAM8DBFULL08####");
}

TEST_P(Listing, ShortDatabaseItemIsNulPaddedPerHalf) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListDatabases(c, "Sample", count), 0);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(Items(c, ItemDatabaseName, count),
            (std::vector<std::string>{Padded("Sample", 8) + Padded("Basic", 8),
                                      Padded("Sample", 8) + Padded("Spare", 8)}));
}

TEST_P(Listing, ThirtyCharacterFilterNameFillsFieldWithoutNul) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListFilters(c, "FULLNAM8", "DBFULL08", count), 0);
  ASSERT_EQ(count, 1);
  std::string buffer(34, '#');
  ASSERT_EQ(api().EsbGetNextItem(c, ItemFilterName, buffer), 0);
  EXPECT_EQ(buffer, std::string(kLongFilter) + "####");
}

TEST_P(Listing, FiltersInCreationOrder) {
  Handle c = Connect();
  EXPECT_EQ(FilterNames(c, "Sample", "Basic"),
            (std::vector<std::string>{"Alpha", "Beta", "Empty"}));
}

TEST_P(Listing, EmptyListingLeavesNothingPending) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListDatabases(c, "Zeta", count), 0);
  EXPECT_EQ(count, 0);
  std::string buffer(16, '#');
  EXPECT_EQ(api().EsbGetNextItem(c, ItemDatabaseName, buffer), ESB_STS_NO_ITEM_PENDING);
  EXPECT_EQ(buffer, std::string(16, '#'));
}

TEST_P(Listing, ItemPastTheEndIsRefused) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListApplications(c, count), 0);
  Items(c, ItemApplicationName, count);
  std::string buffer(8, '#');
  EXPECT_EQ(api().EsbGetNextItem(c, ItemApplicationName, buffer), ESB_STS_NO_ITEM_PENDING);
}

TEST_P(Listing, WrongItemKindIsRefusedAndListingStaysPending) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListApplications(c, count), 0);
  std::string wide(30, '#');
  EXPECT_EQ(api().EsbGetNextItem(c, ItemFilterName, wide), ESB_STS_BAD_ITEM_KIND);
  EXPECT_EQ(wide, std::string(30, '#'));
  EXPECT_EQ(FieldText(Items(c, ItemApplicationName, 1)[0]), "Sample");
}

TEST_P(Listing, NewListingReplacesPendingOne) {
  Handle c = Connect();
  int16_t count = -1;
  ASSERT_EQ(api().EsbListApplications(c, count), 0);
  ASSERT_EQ(api().EsbListDatabases(c, "Sample", count), 0);
  std::string app(8, '#');
  EXPECT_EQ(api().EsbGetNextItem(c, ItemApplicationName, app), ESB_STS_BAD_ITEM_KIND);
  EXPECT_EQ(FieldText(Items(c, ItemDatabaseName, 1)[0]), "Sample");
}

TEST_P(Listing, TrailingBlanksOfPaddedNamesAreIgnored) {
  Handle c = Connect();
  int16_t count = -1;
  EXPECT_EQ(api().EsbListFilters(c, "Sample  ", "Basic                         ", count), 0);
  EXPECT_EQ(count, 3);
}

TEST_P(Listing, NamesAreCaseSensitive) {
  Handle c = Connect();
  int16_t count = -1;
  EXPECT_EQ(api().EsbListDatabases(c, "sample", count), ESB_STS_UNKNOWN_APPLICATION);
  EXPECT_EQ(api().EsbListFilters(c, "Sample", "basic", count), ESB_STS_UNKNOWN_DATABASE);
}

TEST_P(Listing, OverlongOrBrokenNamesAreBadNames) {
  Handle c = Connect();
  int16_t count = -1;
  EXPECT_EQ(api().EsbListDatabases(c, "NINECHARS", count), ESB_STS_BAD_NAME);
  EXPECT_EQ(api().EsbListDatabases(c, "", count), ESB_STS_BAD_NAME);
  EXPECT_EQ(api().EsbListFilters(c, "Sample", "Ba\tsic", count), ESB_STS_BAD_NAME);
}

TEST_P(Listing, UnknownContextIsRefused) {
  Connect();
  int16_t count = -1;
  EXPECT_EQ(api().EsbListApplications(0, count), ESB_STS_BAD_CONTEXT);
  EXPECT_EQ(api().EsbListApplications(0xdeadbeef, count), ESB_STS_BAD_CONTEXT);
}

// A 16-bit count cannot announce more: the listing must be refused rather
// than wrap to a negative count.
TEST_P(Listing, DatabaseOverSixteenBitCountIsRefused) {
  for (int n : {32767, 32768}) {
    std::string text = "server\tsrv\nuser\tu\tpw\t275\napp\tBig\tloaded\ndb\tBig\tMany\n";
    for (int i = 0; i < n; ++i) text += "filter\tBig\tMany\tF" + std::to_string(i) + "\t1\t375\n";
    store_.Load(text);
    Handle c = Connect();
    int16_t count = -1;
    if (n == 32767) {
      ASSERT_EQ(api().EsbListFilters(c, "Big", "Many", count), 0);
      EXPECT_EQ(count, 32767);
    } else {
      EXPECT_EQ(api().EsbListFilters(c, "Big", "Many", count), ESB_STS_TOO_MANY_ITEMS);
    }
  }
}

SIM_EVERY_WAY(Listing);

}  // namespace
}  // namespace simtest
