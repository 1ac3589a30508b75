// The matching rule: which rows a search text hits.
#include <gtest/gtest.h>

#include "desktop/change/ChangeRequest.h"
#include "desktop/change/RowStore.h"

namespace desktop::change {
namespace {

struct MatchCase {
  const char* search;
  const char* row;
  bool matches;
};

std::ostream& operator<<(std::ostream& os, const MatchCase& c) {
  return os << '"' << c.search << "\" in \"" << c.row << '"';
}

class Matching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Matching, SearchTextHitsTheRowsItShould) {
  const MatchCase c = GetParam();
  EXPECT_EQ(RowMatcher(c.search).Matches(c.row), c.matches);
}

INSTANTIATE_TEST_SUITE_P(Rows, Matching,
                         ::testing::Values(
                             // Letter case does not matter, either way round.
                             MatchCase{"east", "@IDESCENDANTS(\"East\")", true},
                             MatchCase{"east", "EASTERN", true},
                             MatchCase{"EAST", "northeast", true},
                             // A blank is a character: "Ea st" does not hold "east".
                             MatchCase{"east", "Ea st", false},
                             // Anywhere in the row, first to last character.
                             MatchCase{"Actual", "\"Actual\"", true}, MatchCase{"x", "abcx", true},
                             MatchCase{"abc", "ab", false},
                             // An empty search matches every row; a search is not trimmed.
                             MatchCase{"", "anything", true}, MatchCase{"east ", "East", false},
                             MatchCase{" east", "North East", true},
                             // Latin-1 accented letters fold to their pairs...
                             MatchCase{"\xe9t\xe9", "\xc9T\xc9", true},
                             MatchCase{"M\xdcNCHEN", "m\xfcnchen", true},
                             // ...but the multiplication and division signs are no pair, and an
                             // accent is not dropped.
                             MatchCase{"\xd7", "\xf7", false}, MatchCase{"e", "\xe9", false},
                             // A partial earlier match does not hide a later one.
                             MatchCase{"aab", "aaab", true}));

TEST(FoldCase, OnlyLettersChange) {
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    EXPECT_EQ(FoldCase(ch) != ch, upper) << c;
  }
}

TEST(RowStore, HoldsTenThousandRowsAndRefusesTheNext) {
  RowStore store;
  for (int i = 0; i < RowStore::MaxRows; ++i)
    ASSERT_TRUE(store.Add({"Basic", "Sample", "F" + std::to_string(i / 100), 273, "r"})) << i;
  EXPECT_EQ(store.NextRow(), RowStore::MaxRows + 1);
  EXPECT_FALSE(store.Add({"Basic", "Sample", "F", 273, "one too many"}));
  EXPECT_EQ(store.Count(), RowStore::MaxRows);
  EXPECT_EQ(store.FilterCount(), 100);
  store.Clear();
  EXPECT_EQ(store.NextRow(), 1);
}

TEST(RowStore, SameNameInAnotherDatabaseIsAnotherFilter) {
  RowStore store;
  store.Add({"Basic", "Sample", "Reader", 273, "a"});
  store.Add({"Basic", "Demo", "Reader", 273, "b"});
  store.Add({"Other", "Demo", "Reader", 273, "c"});
  store.Add({"Other", "Demo", "Reader", 273, "d"});
  EXPECT_EQ(store.FilterCount(), 3);
}

}  // namespace
}  // namespace desktop::change
