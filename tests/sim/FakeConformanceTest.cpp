// The recording fake the module tests use must keep login contexts as the
// simulated server does, or a retry tested on it proves nothing: each case
// runs over both.
#include <gtest/gtest.h>

#include <memory>

#include "essbase/library/Operation.h"
#include "sim/SimApi.h"
#include "sim/Store.h"
#include "tests/sim/ConformanceFixture.h"
#include "tests/support/FakeEssbaseApi.h"

namespace simtest {
namespace {

using namespace essbase;

enum class Server { Simulated, Fake };

class FakeConformance : public ::testing::TestWithParam<Server> {
 protected:
  void SetUp() override {
    if (GetParam() == Server::Simulated) {
      store_.Load(kContent);
      api_ = std::make_unique<esbsim::SimApi>();
      return;
    }
    auto fake = std::make_unique<essbase::testing::FakeEssbaseApi>();
    fake->AddFilter("Sample", "Basic", "Alpha",
                    {{273, "@IDESCENDANTS(\"East\")"}, {275, "\"Actual\",\t\"Budget\""}});
    fake->AddFilter("Sample", "Basic", "Beta", {{0, "\"Variance\""}});
    fake->AddFilter("Sample", "Basic", "Empty");
    fake_ = fake.get();
    api_ = std::move(fake);
  }
  void TearDown() override {
    for (Handle h : instances_) api_->EsbTerm(h);
  }

  // After `after` successes the next `times` calls of op fail with status.
  void Arm(Operation op, int32_t status, int after, int times) {
    if (fake_) {
      fake_->Fail(op, status, after, times);
      return;
    }
    esbsim::Store store;
    ASSERT_EQ(store.open(store_.path(), false), 0);
    esbsim::Statement* st = store.db().prepare(esbsim::sql::kInsertFault);
    ASSERT_NE(st, nullptr);
    const std::string name(OperationName(op));
    ASSERT_EQ(st->bind(1, name.c_str())
                  .bind(2, int64_t{status})
                  .bind(3, int64_t{after})
                  .bind(4, int64_t{times})
                  .step(),
              SQLITE_DONE);
    st->reset();
  }
  Handle Init() {
    Handle instance = 0;
    EXPECT_EQ(api_->EsbInit(ApiInitRecord(InitVersion(Generation::V6), "C:\\ESSBASE"), instance),
              0);
    instances_.push_back(instance);
    return instance;
  }
  Handle Login(Handle instance) {
    int16_t count = 0;
    Handle context = 0;
    EXPECT_EQ(api_->EsbLogin(instance, "srv", "u", "pw", count, context), 0);
    return context;
  }
  size_t RowsOf(Handle context, const char* filter) {
    int16_t active = 0, access = 0;
    EXPECT_EQ(api_->EsbGetFilter(context, "Sample", "Basic", filter, active, access), 0);
    std::vector<char> row(3000);
    size_t rows = 0;
    for (; rows < 100; ++rows) {
      EXPECT_EQ(api_->EsbGetFilterRow(context, row, access), 0);
      if (row[0] == '\0') break;
    }
    return rows;
  }

  TempStore store_;
  std::unique_ptr<EssbaseApi> api_;
  essbase::testing::FakeEssbaseApi* fake_ = nullptr;
  std::vector<Handle> instances_;
};

TEST_P(FakeConformance, ReloginFaultEndsContextUntilNewLogin) {
  Arm(Operation::EsbGetFilter, ESB_STS_RELOGIN, 0, 1);
  Handle i = Init();
  Handle c = Login(i);
  int16_t active, access, count;
  EXPECT_EQ(api_->EsbGetFilter(c, "Sample", "Basic", "Alpha", active, access), ESB_STS_RELOGIN);
  EXPECT_EQ(api_->EsbListApplications(c, count), ESB_STS_RELOGIN);
  Handle again = Login(i);
  EXPECT_EQ(api_->EsbGetFilter(again, "Sample", "Basic", "Alpha", active, access), 0);
  EXPECT_EQ(api_->EsbListApplications(c, count), ESB_STS_RELOGIN);
}

TEST_P(FakeConformance, ReloginDuringWriteLeavesOldFilterAndNothingOpen) {
  Arm(Operation::EsbSetFilterRow, ESB_STS_RELOGIN, 1, 1);
  Handle i = Init();
  Handle c = Login(i);
  ASSERT_EQ(api_->EsbSetFilter(c, "Sample", "Basic", "Alpha", 1, FilterAccess), 0);
  EXPECT_EQ(api_->EsbSetFilterRow(c, "one", 0), 0);
  EXPECT_EQ(api_->EsbSetFilterRow(c, "two", 0), ESB_STS_RELOGIN);
  EXPECT_EQ(api_->EsbSetFilterRow(c, nullptr, FilterAccess), ESB_STS_RELOGIN);
  Handle again = Login(i);
  EXPECT_EQ(RowsOf(again, "Alpha"), 2u);
  EXPECT_EQ(api_->EsbSetFilterRow(again, "three", 0), ESB_STS_ROWS_NOT_OPEN);
}

TEST_P(FakeConformance, LogoutEndsTheContext) {
  Handle c = Login(Init());
  ASSERT_EQ(api_->EsbLogout(c), 0);
  int16_t count;
  EXPECT_EQ(api_->EsbListApplications(c, count), ESB_STS_BAD_CONTEXT);
  EXPECT_EQ(api_->EsbLogout(c), ESB_STS_BAD_CONTEXT);
}

TEST_P(FakeConformance, TermEndsTheInstancesContextsOnly) {
  Handle i = Init();
  Handle c = Login(i);
  Handle other = Login(Init());
  ASSERT_EQ(api_->EsbTerm(i), 0);
  int16_t count;
  EXPECT_EQ(api_->EsbListApplications(c, count), ESB_STS_BAD_CONTEXT);
  EXPECT_EQ(api_->EsbListApplications(other, count), 0);
}

TEST_P(FakeConformance, EachContextKeepsItsOwnListingAndRead) {
  Handle i = Init();
  Handle a = Login(i), b = Login(i);
  int16_t count = 0, access = 0;
  ASSERT_EQ(api_->EsbListFilters(a, "Sample", "Basic", count), 0);
  ASSERT_EQ(count, 3);
  int16_t active = 0;
  ASSERT_EQ(api_->EsbGetFilter(b, "Sample", "Basic", "Beta", active, access), 0);
  std::string name(FilterNameWidth, '\0');
  EXPECT_EQ(api_->EsbGetNextItem(a, ItemFilterName, name), 0);
  EXPECT_EQ(FieldText(name), "Alpha");
  EXPECT_EQ(api_->EsbGetNextItem(b, ItemFilterName, name), ESB_STS_NO_ITEM_PENDING);
  std::vector<char> row(3000);
  EXPECT_EQ(api_->EsbGetFilterRow(a, row, access), ESB_STS_ROWS_NOT_OPEN);
  EXPECT_EQ(api_->EsbGetFilterRow(b, row, access), 0);
  EXPECT_STREQ(row.data(), "\"Variance\"");
}

TEST_P(FakeConformance, WrittenFilterAppendedAndReplacedOneKeepsItsPlace) {
  Handle c = Login(Init());
  for (const char* name : {"New", "Alpha"}) {
    ASSERT_EQ(api_->EsbSetFilter(c, "Sample", "Basic", name, 1, FilterAccess), 0);
    ASSERT_EQ(api_->EsbSetFilterRow(c, "\"East\"", 273), 0);
    ASSERT_EQ(api_->EsbSetFilterRow(c, nullptr, FilterAccess), 0);
  }
  int16_t count = 0;
  ASSERT_EQ(api_->EsbListFilters(c, "Sample", "Basic", count), 0);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    std::string name(FilterNameWidth, '\0');
    ASSERT_EQ(api_->EsbGetNextItem(c, ItemFilterName, name), 0);
    names.push_back(FieldText(name));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Beta", "Empty", "New"}));
  EXPECT_EQ(RowsOf(c, "Alpha"), 1u);
}

TEST_P(FakeConformance, UnclosedDefinitionLeavesOldFilterAndStrayRowsAreRefused) {
  Handle c = Login(Init());
  EXPECT_EQ(api_->EsbSetFilterRow(c, "stray", 0), ESB_STS_ROWS_NOT_OPEN);
  EXPECT_EQ(api_->EsbSetFilterRow(c, nullptr, FilterAccess), 0);
  ASSERT_EQ(api_->EsbSetFilter(c, "Sample", "Basic", "Alpha", 1, FilterAccess), 0);
  ASSERT_EQ(api_->EsbSetFilterRow(c, "only", 0), 0);
  Handle other = Login(Init());
  EXPECT_EQ(RowsOf(other, "Alpha"), 2u);
}

INSTANTIATE_TEST_SUITE_P(Both, FakeConformance, ::testing::Values(Server::Simulated, Server::Fake),
                         [](const auto& info) {
                           return std::string(info.param == Server::Simulated ? "Simulated"
                                                                              : "Fake");
                         });

}  // namespace
}  // namespace simtest
