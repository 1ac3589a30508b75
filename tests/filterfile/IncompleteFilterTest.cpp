// A filter is committed only when every one of its rows got in: a refused
// call or a lost file line leaves the server's previous definition in place,
// and every other filter of the file is still imported.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <tuple>

#include "tests/filterfile/ImportSupport.h"

namespace filterfile {
namespace {

// A, B and C as the file defines them; A and B exist on the server already.
const char* const ThreeFilters =
    "x\ty\tA\t273\ta1\n"
    "x\ty\tA\t0\ta2\n"
    "x\ty\tA\t275\ta3\n"
    "x\ty\tB\t0\tb1\n"
    "x\ty\tB\t273\tb2\n"
    "x\ty\tC\t275\tc1\n";

class IncompleteFilter : public testing::ImportOverLibrary {
 protected:
  IncompleteFilter() {
    api.AddFilter("Ledger", "Actuals", "A", {{275, "old a"}});
    api.AddFilter("Ledger", "Actuals", "B", {{275, "old b"}});
  }

  // The three filters, each as before the import or as the file defines it.
  void ExpectUnchanged(const std::vector<std::string>& unchanged) {
    auto is = [&](const char* f) {
      return std::find(unchanged.begin(), unchanged.end(), f) != unchanged.end();
    };
    EXPECT_EQ(Rows("A"), is("A") ? "old a" : "a1,a2,a3");
    EXPECT_EQ(Rows("B"), is("B") ? "old b" : "b1,b2");
    EXPECT_EQ(Rows("C"), is("C") ? "-" : "c1");
    EXPECT_EQ(report.leftUnchanged, unchanged);
    EXPECT_EQ(counts.leftUnchanged, unchanged.size());
    EXPECT_EQ(counts.committed, 3 - unchanged.size());
  }
};

struct RefusedCall {
  const char* operation;
  int after;  // successful calls of the operation before the refused one
  const char* filter;
};
void PrintTo(const RefusedCall& c, std::ostream* os) {
  *os << c.operation << "#" << c.after;
}

class RefusedCallLeavesFilterUnchanged
    : public IncompleteFilter,
      public ::testing::WithParamInterface<std::tuple<RefusedCall, int32_t>> {};

TEST_P(RefusedCallLeavesFilterUnchanged, OthersImported) {
  const auto& [c, status] = GetParam();
  api.Fail(c.operation, status, c.after);
  EXPECT_FALSE(Import(ThreeFilters));
  // A dropped session takes every later call with it (no policy logs in
  // again here), so the later filters stay as they were.
  std::vector<std::string> unchanged;
  for (const char* f : {"A", "B", "C"})
    if (std::string(f) >= c.filter &&
        (status == essbase::ReloginStatus || f == std::string(c.filter)))
      unchanged.push_back(f);
  ExpectUnchanged(unchanged);
}

// Every row call of the file in order, closing calls included, and every
// opening call; a refused row and a dropped session.
INSTANTIATE_TEST_SUITE_P(
    EveryPosition, RefusedCallLeavesFilterUnchanged,
    ::testing::Combine(
        ::testing::Values(
            RefusedCall{"EsbSetFilterRow", 0, "A"}, RefusedCall{"EsbSetFilterRow", 1, "A"},
            RefusedCall{"EsbSetFilterRow", 2, "A"}, RefusedCall{"EsbSetFilterRow", 3, "A"},
            RefusedCall{"EsbSetFilterRow", 4, "B"}, RefusedCall{"EsbSetFilterRow", 5, "B"},
            RefusedCall{"EsbSetFilterRow", 6, "B"}, RefusedCall{"EsbSetFilterRow", 7, "C"},
            RefusedCall{"EsbSetFilterRow", 8, "C"}, RefusedCall{"EsbSetFilter", 0, "A"},
            RefusedCall{"EsbSetFilter", 1, "B"}, RefusedCall{"EsbSetFilter", 2, "C"}),
        ::testing::Values(ESB_STS_BAD_ROW, essbase::ReloginStatus)),
    [](const auto& info) {
      const RefusedCall& c = std::get<0>(info.param);
      return std::string(c.operation) + "_" + std::to_string(c.after) + "_" +
             std::to_string(std::get<1>(info.param));
    });

struct LostLine {
  const char* name;
  const char* file;
  std::vector<std::string> unchanged;
};
void PrintTo(const LostLine& c, std::ostream* os) {
  *os << c.name;
}

class LostLineLeavesFilterUnchanged : public IncompleteFilter,
                                      public ::testing::WithParamInterface<LostLine> {};

TEST_P(LostLineLeavesFilterUnchanged, OthersImported) {
  EXPECT_FALSE(Import(GetParam().file));
  EXPECT_EQ(report.passedOver.size(), 1u);
  ExpectUnchanged(GetParam().unchanged);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LostLineLeavesFilterUnchanged,
    ::testing::Values(
        LostLine{"AccessOutOfRangeInMiddle",
                 "x\ty\tA\t273\ta1\nx\ty\tA\t70000\tlost\nx\ty\tA\t0\ta2\nx\ty\tA\t275\ta3\n"
                 "x\ty\tB\t0\tb1\nx\ty\tB\t273\tb2\nx\ty\tC\t275\tc1\n",
                 {"A"}},
        LostLine{"TooFewTabsAtLastRow",
                 "x\ty\tA\t273\ta1\nx\ty\tA\t0\ta2\nx\ty\tA\t275\ta3\nx\ty\tA\t0 lost\n"
                 "x\ty\tB\t0\tb1\nx\ty\tB\t273\tb2\nx\ty\tC\t275\tc1\n",
                 {"A"}},
        LostLine{"NamedLineBeforeFirstRowOfNext",
                 "x\ty\tA\t273\ta1\nx\ty\tA\t0\ta2\nx\ty\tA\t275\ta3\nx\ty\tB\tNone\tlost\n"
                 "x\ty\tB\t0\tb1\nx\ty\tB\t273\tb2\nx\ty\tC\t275\tc1\n",
                 {"B"}},
        LostLine{"UnnamedLineBetweenTwoFilters",
                 "x\ty\tA\t273\ta1\nx\ty\tA\t0\ta2\nx\ty\tA\t275\ta3\ngarbage\n"
                 "x\ty\tB\t0\tb1\nx\ty\tB\t273\tb2\nx\ty\tC\t275\tc1\n",
                 {"A", "B"}},
        LostLine{"UnnamedLineBeforeFirstFilter",
                 "garbage\nx\ty\tA\t273\ta1\nx\ty\tA\t0\ta2\nx\ty\tA\t275\ta3\n"
                 "x\ty\tB\t0\tb1\nx\ty\tB\t273\tb2\nx\ty\tC\t275\tc1\n",
                 {"A"}},
        LostLine{"NameWithTrailingBlankIsTheOpenFilter",
                 "x\ty\tA\t273\ta1\nx\ty\tA \t1e3\tlost\nx\ty\tA\t0\ta2\nx\ty\tA\t275\ta3\n"
                 "x\ty\tB\t0\tb1\nx\ty\tB\t273\tb2\nx\ty\tC\t275\tc1\n",
                 {"A"}},
        LostLine{"LineOfAFilterNotInFileTouchesNoOther",
                 "x\ty\tA\t273\ta1\nx\ty\tA\t0\ta2\nx\ty\tA\t275\ta3\nx\ty\tZ\t-\tlost\n"
                 "x\ty\tB\t0\tb1\nx\ty\tB\t273\tb2\nx\ty\tC\t275\tc1\n",
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IncompleteFilter, NulInLastRowOfFileSeenAsOneLine) {
  const std::string file = std::string(ThreeFilters) + std::string("x\ty\tC\t0\tc\0lost\n", 15);
  EXPECT_FALSE(Import(file));
  EXPECT_EQ(report.passedOver, (std::vector<uint64_t>{7}));
  ExpectUnchanged({"C"});
}

TEST_F(IncompleteFilter, RowsNamedWithTrailingBlanksFormOneFilter) {
  EXPECT_TRUE(Import("x\ty\tTb\t273\tfirst\nx\ty\tTb \t0\tsecond\nx\ty\tTb  \t275\tthird\n"));
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 1);
  EXPECT_EQ(Rows("Tb"), "first,second,third");
}

TEST_F(IncompleteFilter, LeadingBlankStillStartsAnotherFilter) {
  EXPECT_TRUE(Import("x\ty\tTb\t273\tfirst\nx\ty\t Tb\t0\tsecond\n"));
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 2);
}

}  // namespace
}  // namespace filterfile
