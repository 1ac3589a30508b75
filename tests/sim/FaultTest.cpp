// Faults armed in the store: counts, spending, and the ended login context.
#include "sim/Store.h"
#include "tests/sim/ConformanceFixture.h"

namespace simtest {
namespace {

using namespace essbase;

std::string WithFault(const std::string& fault) {
  return std::string(kContent) + fault + "\n";
}

// Arms a fault through a connection of its own, as another process would.
void ArmFault(const std::string& path, const char* op, int64_t status, int64_t after,
              int64_t times) {
  esbsim::Store store;
  ASSERT_EQ(store.open(path, false), 0);
  esbsim::Statement* st = store.db().prepare(esbsim::sql::kInsertFault);
  ASSERT_NE(st, nullptr);
  ASSERT_EQ(st->bind(1, op).bind(2, status).bind(3, after).bind(4, times).step(), SQLITE_DONE);
  st->reset();
}

using Faults = Conformance;

TEST_P(Faults, FiresAfterSuccessesForTimesCallsThenLeavesStore) {
  store_.Load(WithFault("fault\tEsbListApplications\t1030030\t2\t2"));
  Handle c = Connect();
  int16_t count;
  EXPECT_EQ(api().EsbListApplications(c, count), 0);
  EXPECT_EQ(api().EsbListApplications(c, count), 0);
  EXPECT_EQ(api().EsbListApplications(c, count), 1030030);
  EXPECT_EQ(api().EsbListApplications(c, count), 1030030);
  EXPECT_EQ(api().EsbListApplications(c, count), 0);
  EXPECT_EQ(store_.Dump(), kContent);
}

TEST_P(Faults, FailedCallsDoNotCountAsSuccesses) {
  store_.Load(WithFault("fault\tEsbGetFilter\t1030030\t1\t1"));
  Handle c = Connect();
  int16_t active, access;
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Nope", active, access),
            ESB_STS_UNKNOWN_FILTER);
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Alpha", active, access), 0);
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Alpha", active, access), 1030030);
}

TEST_P(Faults, PartlySpentFaultKeepsTheRestInStore) {
  store_.Load(WithFault("fault\tEsbListApplications\t-7\t0\t3"));
  Handle c = Connect();
  int16_t count;
  EXPECT_EQ(api().EsbListApplications(c, count), -7);
  EXPECT_EQ(store_.Dump(), WithFault("fault\tEsbListApplications\t-7\t0\t2"));
}

TEST_P(Faults, TimesZeroFailsEveryCallAndStays) {
  store_.Load(WithFault("fault\tEsbDeleteFilter\t1030030\t0\t0"));
  Handle c = Connect();
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(api().EsbDeleteFilter(c, "Sample", "Basic", "Alpha"), 1030030);
  EXPECT_EQ(FilterNames(c, "Sample", "Basic").size(), 3u);
  EXPECT_EQ(store_.Dump(), WithFault("fault\tEsbDeleteFilter\t1030030\t0\t0"));
}

TEST_P(Faults, CountsStartAgainInEachInstance) {
  store_.Load(WithFault("fault\tEsbListApplications\t1030030\t1\t0"));
  int16_t count;
  Handle first = Connect();
  EXPECT_EQ(api().EsbListApplications(first, count), 0);
  EXPECT_EQ(api().EsbListApplications(first, count), 1030030);
  Handle second = Connect();
  EXPECT_EQ(api().EsbListApplications(second, count), 0);
}

TEST_P(Faults, ReloginFaultEndsContextUntilNewLogin) {
  store_.Load(WithFault("fault\tEsbGetFilter\t1051021\t0\t1"));
  Handle i = Init();
  Handle c = Login(i);
  int16_t active, access, count;
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Alpha", active, access), ESB_STS_RELOGIN);
  EXPECT_EQ(api().EsbListApplications(c, count), ESB_STS_RELOGIN);
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Alpha", active, access), ESB_STS_RELOGIN);
  Handle again = Login(i);
  EXPECT_EQ(api().EsbGetFilter(again, "Sample", "Basic", "Alpha", active, access), 0);
  EXPECT_EQ(api().EsbListApplications(c, count), ESB_STS_RELOGIN);
}

TEST_P(Faults, ReloginDuringWriteLeavesOldFilter) {
  store_.Load(WithFault("fault\tEsbSetFilterRow\t1051021\t1\t1"));
  Handle i = Init();
  Handle c = Login(i);
  ASSERT_EQ(api().EsbSetFilter(c, "Sample", "Basic", "Alpha", 1, FilterAccess), 0);
  EXPECT_EQ(api().EsbSetFilterRow(c, "one", 0), 0);
  EXPECT_EQ(api().EsbSetFilterRow(c, "two", 0), ESB_STS_RELOGIN);
  EXPECT_EQ(api().EsbSetFilterRow(c, nullptr, FilterAccess), ESB_STS_RELOGIN);
  Handle again = Login(i);
  EXPECT_EQ(ReadRows(again, "Sample", "Basic", "Alpha").size(), 2u);
  // The new context has no definition of the old one open.
  EXPECT_EQ(api().EsbSetFilterRow(again, "three", 0), ESB_STS_ROWS_NOT_OPEN);
}

TEST_P(Faults, FaultOnInitFailsInit) {
  store_.Load(WithFault("fault\tEsbInit\t1030030\t0\t1"));
  Handle i = 0;
  EXPECT_EQ(api().EsbInit(ApiInitRecord(0x60000, "C:\\"), i), 1030030);
  EXPECT_EQ(store_.Dump(), kContent);
  Init();
}

TEST_P(Faults, FaultArmedAfterInitTakesEffect) {
  Handle c = Connect();
  int16_t count;
  ASSERT_EQ(api().EsbListApplications(c, count), 0);
  ArmFault(store_.path(), "EsbListApplications", 1030030, 0, 1);
  EXPECT_EQ(api().EsbListApplications(c, count), 1030030);
  EXPECT_EQ(api().EsbListApplications(c, count), 0);
  // Row calls see faults armed before the definition was opened.
  ArmFault(store_.path(), "EsbSetFilterRow", 1030030, 0, 1);
  ASSERT_EQ(api().EsbSetFilter(c, "Sample", "Basic", "New", 1, FilterAccess), 0);
  EXPECT_EQ(api().EsbSetFilterRow(c, "row", 0), 1030030);
}

SIM_EVERY_WAY(Faults);

}  // namespace
}  // namespace simtest
