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

INSTANTIATE_TEST_SUITE_P(
    Rows, Matching,
    ::testing::Values(
        // Letter case does not matter, either way round.
        MatchCase{"east", "@IDESCENDANTS(\"East\")", true}, MatchCase{"east", "EASTERN", true},
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
        MatchCase{"\xe9t\xe9", "\xc9T\xc9", true}, MatchCase{"M\xdcNCHEN", "m\xfcnchen", true},
        // ...but the multiplication and division signs are no pair, and an
        // accent is not dropped.
        MatchCase{"\xd7", "\xf7", false}, MatchCase{"e", "\xe9", false},
        // A partial earlier match does not hide a later one.
        MatchCase{"aab", "aaab", true},
        // UTF-8 text folds by character, beyond Latin-1 too.
        MatchCase{"r\xc3\xa9gion", "R\xc3\x89GION Nord", true},
        MatchCase{"\xc5\x81\xc3\xb3"
                  "d\xc5\xba",
                  "\xc5\x82\xc3\xb3"
                  "d\xc5\xba",
                  true},
        MatchCase{"\xce\xb1\xce\xb8", "\xce\x91\xce\x98\xce\x97\xce\x9d\xce\x91", true},
        MatchCase{"\xd0\xbc\xd0\xbe\xd1\x81", "\xd0\x9c\xd0\x9e\xd0\xa1\xd0\x9a\xd0\x92\xd0\x90",
                  true},
        MatchCase{"\xe6\x9d\xb1", "\xe6\x9d\xb1\xe4\xba\xac", true},
        MatchCase{"\xe2\x82\xac", "cost in \xc2\xa4", false},
        // A search in UTF-8 meets the same letter in a Latin-1 byte.
        MatchCase{"\xc3\xa9t\xc3\xa9", "\xc9T\xc9", true}));

TEST(FoldCase, OnlyLettersChange) {
  for (char32_t c = 0; c < 256; ++c) {
    const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    EXPECT_EQ(FoldCase(c) != c, upper) << static_cast<unsigned>(c);
  }
}

TEST(FoldCase, CapitalsBeyondLatin1FoldToTheirOwnSmallLetter) {
  EXPECT_EQ(FoldCase(0x100), char32_t{0x101});  // A with macron
  EXPECT_EQ(FoldCase(0x101), char32_t{0x101});
  EXPECT_EQ(FoldCase(0x141), char32_t{0x142});  // L with stroke: a run on the odd place
  EXPECT_EQ(FoldCase(0x142), char32_t{0x142});
  EXPECT_EQ(FoldCase(0x178), char32_t{0xFF});   // Y with diaeresis
  EXPECT_EQ(FoldCase(0x17D), char32_t{0x17E});  // Z with caron
  EXPECT_EQ(FoldCase(0x130), char32_t{0x130});  // dotted I has no plain pair
  EXPECT_EQ(FoldCase(0x3A3), char32_t{0x3C3});  // Sigma
  EXPECT_EQ(FoldCase(0x3A2), char32_t{0x3A2});  // no letter there
  EXPECT_EQ(FoldCase(0x401), char32_t{0x451});  // Cyrillic Io
  EXPECT_EQ(FoldCase(0x42F), char32_t{0x44F});  // Cyrillic Ya
  EXPECT_EQ(FoldCase(0x6771), char32_t{0x6771});
}

TEST(FirstBeyondLatin1, NamesTheCharacterAndItsPlace) {
  EXPECT_FALSE(FirstBeyondLatin1("R\xc3\xa9gion"));
  const auto euro = FirstBeyondLatin1("Ost\xe2\x82\xacuro");
  ASSERT_TRUE(euro);
  EXPECT_EQ(euro->first, char32_t{0x20AC});
  EXPECT_EQ(euro->second, 4);
  EXPECT_EQ(FirstBeyondLatin1("\xf0\x9f\x98\x80")->first, char32_t{0x1F600});
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
