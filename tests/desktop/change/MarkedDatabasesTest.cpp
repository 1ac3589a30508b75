// A change across every marked database: the listing of each database's
// filters, the applications it unloads again, and filters of one name in
// several databases.
#include "desktop/change/ReadPass.h"
#include "tests/desktop/change/EngineTestSupport.h"

namespace desktop::change::testing {
namespace {

using essbase::AccessNone;
using essbase::AccessRead;
using essbase::AccessWrite;

class MarkedDatabases : public EngineTest {
 protected:
  void SetUp() override {
    fake.AddFilter("Sample", "Basic", "Reader", {{AccessRead, "East"}});
    fake.AddFilter("Sample", "Basic", "Empty");
    fake.AddFilter("Sample", "Interim", "Reader", {{AccessNone, "east coast"}});
    fake.AddApplication("Cold", false);
    fake.AddFilter("Cold", "Store", "Writer", {{AccessWrite, "West"}, {AccessRead, "Eastwood"}});
    EngineTest::SetUp();
  }
  ChangeScope Three() const {
    return AllDbs({{"Sample", "Basic"}, {"Cold", "Store"}, {"Sample", "Interim"}});
  }
};

TEST_F(MarkedDatabases, ReadsEachMarkedDatabaseUnloadsWhatItLoadedThenWrites) {
  const ChangeOutcome o = Run(Three(), "EAST", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(o.changedFilters, 3);
  EXPECT_EQ(Calls(), AppInfoCall("Sample") +
                         "\n"
                         "EsbSetActive(Sample,Basic)\n"
                         "EsbListFilters(Sample,Basic)\n"
                         "EsbGetNextItem(12,30)\n"
                         "EsbGetFilter(Sample,Basic,Reader)\n"
                         "EsbGetFilterRow(3000)\n"
                         "EsbGetFilterRow(3000)\n"
                         "EsbGetNextItem(12,30)\n"
                         "EsbGetFilter(Sample,Basic,Empty)\n"
                         "EsbGetFilterRow(3000)\n" +
                         AppInfoCall("Cold") +
                         "\n"
                         "EsbSetActive(Cold,Store)\n"
                         "EsbListFilters(Cold,Store)\n"
                         "EsbGetNextItem(12,30)\n"
                         "EsbGetFilter(Cold,Store,Writer)\n"
                         "EsbGetFilterRow(3000)\n"
                         "EsbGetFilterRow(3000)\n"
                         "EsbGetFilterRow(3000)\n" +
                         AppInfoCall("Sample") +
                         "\n"
                         "EsbSetActive(Sample,Interim)\n"
                         "EsbListFilters(Sample,Interim)\n"
                         "EsbGetNextItem(12,30)\n"
                         "EsbGetFilter(Sample,Interim,Reader)\n"
                         "EsbGetFilterRow(3000)\n"
                         "EsbGetFilterRow(3000)\n"
                         "EsbUnloadApplication(Cold)\n"
                         "EsbSetFilter(Sample,Basic,Reader,1,375)\n"
                         "EsbSetFilterRow(East,275)\n"
                         "EsbSetFilterRow(null,375)\n"
                         "EsbSetFilter(Cold,Store,Writer,1,375)\n"
                         "EsbSetFilterRow(West,275)\n"
                         "EsbSetFilterRow(Eastwood,275)\n"
                         "EsbSetFilterRow(null,375)\n"
                         "EsbSetFilter(Sample,Interim,Reader,1,375)\n"
                         "EsbSetFilterRow(east coast,275)\n"
                         "EsbSetFilterRow(null,375)\n");
  EXPECT_FALSE(fake.FindApplication("Cold")->loaded);
  EXPECT_EQ(Rows("Sample", "Interim", "Reader"), "1/375\n275:east coast\n");
}

TEST_F(MarkedDatabases, NoneMarkedEndsWithoutACall) {
  EXPECT_EQ(Run(AllDbs({}), "east", AccessWrite).end, ChangeEnd::NoDatabasesMarked);
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(MarkedDatabases, MarkedDatabasesWithoutRowsWriteNothing) {
  fake.AddFilter("Bare", "One", "Nothing");
  fake.AddDatabase("Bare", "Two");
  const ChangeOutcome o = Run(AllDbs({{"Bare", "One"}, {"Bare", "Two"}}), "", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::NoRows);
  EXPECT_FALSE(Wrote());
}

TEST_F(MarkedDatabases, SameFilterNameInTwoDatabasesIsOpenedAndClosedInEach) {
  Run(AllDbs({{"Sample", "Basic"}, {"Sample", "Interim"}}), "zzz", AccessRead);
  EXPECT_EQ(Calls({"EsbSetFilter", "EsbSetFilterRow"}),
            "EsbSetFilter(Sample,Basic,Reader,1,375)\n"
            "EsbSetFilterRow(East,273)\n"
            "EsbSetFilterRow(null,375)\n"
            "EsbSetFilter(Sample,Interim,Reader,1,375)\n"
            "EsbSetFilterRow(east coast,0)\n"
            "EsbSetFilterRow(null,375)\n");
}

TEST_F(MarkedDatabases, ApplicationWhoseLoadStateCannotBeReadIsNotUnloaded) {
  fake.Fail("EsbGetApplicationInfo", 1042);
  const ChangeOutcome o = Run(AllDbs({{"Cold", "Store"}}), "east", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(fake.CountCalls("EsbUnloadApplication"), 0);
}

TEST_F(MarkedDatabases, FailedUnloadIsNotExaminedAndTheRunWrites) {
  fake.Fail("EsbUnloadApplication", 1042);
  const ChangeOutcome o = Run(Three(), "east", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(o.changedFilters, 3);
}

TEST_F(MarkedDatabases, RetryChecksTheConnectionInTheFirstMarkedDatabase) {
  fake.Fail("EsbSetFilterRow", 1042, 2);
  const ChangeOutcome o = Run(AllDbs({{"Cold", "Store"}, {"Sample", "Basic"}}), "east", AccessRead);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(Calls({"EsbLogin", "EsbSetActive"}),
            "EsbSetActive(Cold,Store)\n"
            "EsbSetActive(Sample,Basic)\n"
            "EsbLogin(fakesrv,admin,secret)\n"
            "EsbSetActive(Cold,Store)\n");
}

TEST_F(MarkedDatabases, MoreApplicationsToUnloadThanTheListHoldsEndsBeforeWritingAndUnloadsThem) {
  std::vector<DatabaseName> marked;
  for (int i = 0; i <= MaxAppsToUnload; ++i) {
    const std::string app = "A" + std::to_string(i);
    fake.AddApplication(app, false);
    fake.AddFilter(app, "Db", "F", {{AccessRead, "East"}});
    marked.push_back({app, "Db"});
  }
  const ChangeOutcome o = Run(AllDbs(marked), "east", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::TooManyApplications);
  EXPECT_FALSE(Wrote());
  EXPECT_EQ(fake.CountCalls("EsbUnloadApplication"), MaxAppsToUnload);
  EXPECT_EQ(fake.CountCalls("EsbSetActive"), MaxAppsToUnload);
}

TEST_F(MarkedDatabases, ExactlyTheMostApplicationsToUnloadRun) {
  std::vector<DatabaseName> marked;
  for (int i = 0; i < MaxAppsToUnload; ++i) {
    const std::string app = "A" + std::to_string(i);
    fake.AddApplication(app, false);
    fake.AddDatabase(app, "Db");
    marked.push_back({app, "Db"});
  }
  marked.push_back({"Cold", "Store"});  // loaded by the run, not remembered
  fake.FindApplication("Cold")->loaded = true;
  const ChangeOutcome o = Run(AllDbs(marked), "east", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(fake.CountCalls("EsbUnloadApplication"), MaxAppsToUnload);
}

TEST_F(MarkedDatabases, TenThousandRowsCountOverAllDatabases) {
  std::vector<DatabaseName> marked;
  for (int d = 0; d < 2; ++d) {
    const std::string db = "D" + std::to_string(d);
    for (int f = 0; f < 50; ++f) {
      std::vector<essbase::testing::FakeRow> frows(100, {AccessRead, "row"});
      fake.AddFilter("Big", db, "F" + std::to_string(f), std::move(frows));
    }
    marked.push_back({"Big", db});
  }
  EXPECT_EQ(Run(AllDbs(marked), "row", AccessWrite).end, ChangeEnd::Changed);
  fake.FindFilter("Big", "D1", "F49")->rows.push_back({AccessRead, "one more"});
  EXPECT_EQ(Run(AllDbs(marked), "row", AccessWrite).end, ChangeEnd::TooManyRows);
}

}  // namespace
}  // namespace desktop::change::testing
