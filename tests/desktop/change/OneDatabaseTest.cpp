// A change in one database: the calls in order, what the server holds after,
// and the edge cases of the ticked filters and their rows.
#include "tests/desktop/change/EngineTestSupport.h"

namespace desktop::change::testing {
namespace {

using essbase::AccessNone;
using essbase::AccessRead;
using essbase::AccessWrite;
using essbase::testing::FakeRow;

class OneDatabase : public EngineTest {
 protected:
  void SetUp() override {
    fake.AddFilter("Sample", "Basic", "F1", {{AccessRead, "East"}, {AccessWrite, "West"}});
    fake.AddFilter("Sample", "Basic", "F2", {{AccessNone, "EASTERN"}});
    fake.AddFilter("Sample", "Basic", "Empty");
    fake.AddFilter("Sample", "Basic", "Unticked", {{AccessRead, "East"}});
    EngineTest::SetUp();
  }
};

TEST_F(OneDatabase, ReadsEveryTickedFilterThenRewritesEachWhole) {
  const ChangeOutcome o = Run(OneDb({"F1", "F2"}), "east", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(o.changedFilters, 2);
  EXPECT_EQ(Calls(),
            "EsbSetActive(Sample,Basic)\n"
            "EsbGetFilter(Sample,Basic,F1)\n"
            "EsbGetFilterRow(3000)\n"
            "EsbGetFilterRow(3000)\n"
            "EsbGetFilterRow(3000)\n"
            "EsbGetFilter(Sample,Basic,F2)\n"
            "EsbGetFilterRow(3000)\n"
            "EsbGetFilterRow(3000)\n"
            "EsbSetFilter(Sample,Basic,F1,1,375)\n"
            "EsbSetFilterRow(East,275)\n"
            "EsbSetFilterRow(West,275)\n"
            "EsbSetFilterRow(null,375)\n"
            "EsbSetFilter(Sample,Basic,F2,1,375)\n"
            "EsbSetFilterRow(EASTERN,275)\n"
            "EsbSetFilterRow(null,375)\n");
  EXPECT_EQ(Rows("Sample", "Basic", "Unticked"), "1/375\n273:East\n");
  // The window yields twice for each filter counted, and nowhere else.
  EXPECT_EQ(questions.Count("ProcessEvents"), 4);
}

TEST_F(OneDatabase, NoTickedFilterWritesNothing) {
  const ChangeOutcome o = Run(OneDb({}), "east", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::NoRows);
  EXPECT_FALSE(Wrote());
}

TEST_F(OneDatabase, OnlyFiltersWithoutRowsWritesNothing) {
  const ChangeOutcome o = Run(OneDb({"Empty"}), "", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::NoRows);
  EXPECT_FALSE(Wrote());
}

TEST_F(OneDatabase, FilterWithoutRowsKeepsItsOwnFlagAndAccess) {
  auto* empty = fake.FindFilter("Sample", "Basic", "Empty");
  empty->active = 0;
  empty->access = AccessRead;
  const ChangeOutcome o = Run(OneDb({"F2", "Empty"}), "x", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(Calls({"EsbSetFilter"}), "EsbSetFilter(Sample,Basic,F2,1,375)\n");
  EXPECT_EQ(Rows("Sample", "Basic", "Empty"), "0/273\n");
}

TEST_F(OneDatabase, SearchMatchingNothingStillRewritesWithOwnAccessAndCountsNone) {
  auto* f1 = fake.FindFilter("Sample", "Basic", "F1");
  f1->active = 0;
  f1->access = AccessNone;
  const ChangeOutcome o = Run(OneDb({"F1", "F2"}), "north", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(o.changedFilters, 0);
  EXPECT_EQ(Rows("Sample", "Basic", "F1"), "1/375\n273:East\n275:West\n");
  EXPECT_EQ(Rows("Sample", "Basic", "F2"), "1/375\n0:EASTERN\n");
  EXPECT_EQ(questions.Count("ProcessEvents"), 0);
}

TEST_F(OneDatabase, EmptySearchGivesEveryRowTheNewAccess) {
  const ChangeOutcome o = Run(OneDb({"F1", "Empty", "F2"}), "", AccessNone);
  EXPECT_EQ(o.changedFilters, 2);
  EXPECT_EQ(Rows("Sample", "Basic", "F1"), "1/375\n0:East\n0:West\n");
  EXPECT_EQ(Rows("Sample", "Basic", "F2"), "1/375\n0:EASTERN\n");
}

TEST_F(OneDatabase, FilterWithThreeMatchingRowsCountsOnce) {
  fake.AddFilter("Sample", "Basic", "Three", {{0, "a East"}, {0, "b east"}, {0, "c EAST"}});
  const ChangeOutcome o = Run(OneDb({"Three"}), "East", AccessRead);
  EXPECT_EQ(o.changedFilters, 1);
  EXPECT_EQ(Rows("Sample", "Basic", "Three"), "1/375\n273:a East\n273:b east\n273:c EAST\n");
}

TEST_F(OneDatabase, MatchingRowAlreadyAtTheNewAccessCounts) {
  const ChangeOutcome o = Run(OneDb({"F1"}), "west", AccessWrite);
  EXPECT_EQ(o.changedFilters, 1);
}

TEST_F(OneDatabase, FiltersWrittenInTickOrderAndRowsInReadOrder) {
  const ChangeOutcome o = Run(OneDb({"F2", "F1"}), "zzz", AccessRead);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(Calls({"EsbSetFilter", "EsbSetFilterRow"}),
            "EsbSetFilter(Sample,Basic,F2,1,375)\n"
            "EsbSetFilterRow(EASTERN,0)\n"
            "EsbSetFilterRow(null,375)\n"
            "EsbSetFilter(Sample,Basic,F1,1,375)\n"
            "EsbSetFilterRow(East,273)\n"
            "EsbSetFilterRow(West,275)\n"
            "EsbSetFilterRow(null,375)\n");
}

TEST_F(OneDatabase, RowLongerThanTheRowBufferIsReadAndWrittenWhole) {
  const std::string longRow = "@IDESCENDANTS(\"East\"), " + std::string(4000, 'x');
  fake.AddFilter("Sample", "Basic", "Long", {{AccessRead, longRow}, {AccessRead, "West"}});
  const ChangeOutcome o = Run(OneDb({"Long"}), "east", AccessWrite);
  ASSERT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(o.changedFilters, 1);
  EXPECT_EQ(Rows("Sample", "Basic", "Long"), "1/375\n275:" + longRow + "\n273:West\n");
}

TEST_F(OneDatabase, NoDatabaseSelectedEndsBeforeAnyCall) {
  ChangeScope scope = OneDb({"F1"});
  scope.databases.clear();
  EXPECT_EQ(Run(scope, "east", AccessWrite).end, ChangeEnd::NoDatabase);
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(OneDatabase, DroppedSessionAtActivationLogsInAgainAndGoesOn) {
  fake.Fail("EsbSetActive", essbase::ReloginStatus);
  const ChangeOutcome o = Run(OneDb({"F2"}), "east", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(Calls({"EsbSetActive", "EsbGetFilter"}),
            "EsbSetActive(Sample,Basic)\n"
            "EsbSetActive(Sample,Basic)\n"
            "EsbGetFilter(Sample,Basic,F2)\n");
  EXPECT_EQ(fake.calls.at(1).name, "EsbAutoLogin");
  EXPECT_EQ(listener.loggedInAgain, 1);
}

TEST_F(OneDatabase, ActivationStillFailingAfterTheLoginAgainEndsTheRun) {
  fake.Fail("EsbSetActive", essbase::ReloginStatus, 0, 2);
  const ChangeOutcome o = Run(OneDb({"F2"}), "east", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::ActivationFailed);
  EXPECT_EQ(o.status, essbase::ReloginStatus);
  EXPECT_EQ(fake.CountCalls("EsbGetFilter"), 0);
}

class RowLimit : public EngineTest, public ::testing::WithParamInterface<int> {};

// 100 filters of 100 rows fill the store exactly; one row more must stop the
// run before it writes anything from an incomplete copy.
TEST_P(RowLimit, TenThousandRowsRunAndOneMoreEndsBeforeWriting) {
  const int extra = GetParam();
  std::vector<std::string> names;
  for (int f = 0; f < 100; ++f) {
    std::vector<FakeRow> frows;
    for (int r = 0; r < 100 + (f == 99 ? extra : 0); ++r)
      frows.push_back({AccessRead, "Member" + std::to_string(r)});
    names.push_back("F" + std::to_string(f));
    fake.AddFilter("Sample", "Basic", names.back(), std::move(frows));
  }
  const ChangeOutcome o = Run(OneDb(names), "Member1", AccessWrite);
  if (extra == 0) {
    EXPECT_EQ(o.end, ChangeEnd::Changed);
    EXPECT_EQ(rows.NextRow(), 10001);
    EXPECT_EQ(fake.CountCalls("EsbSetFilter"), 100);
    EXPECT_EQ(fake.CountCalls("EsbSetFilterRow"), 10100);
  } else {
    EXPECT_EQ(o.end, ChangeEnd::TooManyRows);
    EXPECT_EQ(o.rows, RowStore::MaxRows);
    EXPECT_FALSE(Wrote());
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, RowLimit, ::testing::Values(0, 1));

TEST_F(OneDatabase, ProgressCountsFiltersReadThenFiltersWritten) {
  Run(OneDb({"F1", "Empty", "F2"}), "east", AccessWrite);
  std::vector<std::string> seen;
  for (const auto& p : questions.progress)
    seen.push_back((p.phase == ChangeProgress::Phase::Reading ? "r" : "w") +
                   std::to_string(p.filters) + "/" + std::to_string(p.total));
  EXPECT_EQ(seen, (std::vector<std::string>{"r1/3", "r2/3", "r3/3", "w1/2", "w2/2"}));
}

}  // namespace
}  // namespace desktop::change::testing
