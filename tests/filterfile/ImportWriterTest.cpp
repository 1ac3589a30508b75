#include <gtest/gtest.h>

#include <vector>

#include "filterfile/ApiFilterSink.h"
#include "filterfile/ServerCall.h"
#include "tests/support/FakeEssbaseApi.h"

namespace filterfile {
namespace {

class RunCallHooks : public ::testing::Test {
 protected:
  int32_t Run(std::vector<int32_t> results, AfterFailure answer) {
    hooks.onStatus = [&](int32_t s) { statuses.push_back(s); };
    hooks.onFailure = [&, answer](ServerCall, int32_t) {
      ++failures;
      return answer;
    };
    size_t next = 0;
    return RunCall(hooks, {essbase::Operation::EsbListFilters}, [&] {
      ++calls;
      return results.at(next++);
    });
  }
  CallHooks hooks;
  std::vector<int32_t> statuses;
  int failures = 0;
  int calls = 0;
};

TEST_F(RunCallHooks, SuccessIsNoFailure) {
  EXPECT_EQ(Run({0}, AfterFailure::RetryOnce), 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(statuses, (std::vector<int32_t>{0}));
}

TEST_F(RunCallHooks, RetryRepeatsExactlyOnce) {
  EXPECT_EQ(Run({5, 6}, AfterFailure::RetryOnce), 6);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(failures, 2);
  EXPECT_EQ(statuses, (std::vector<int32_t>{5, 6}));
}

TEST_F(RunCallHooks, RetryThatSucceedsReturnsZero) {
  EXPECT_EQ(Run({5, 0}, AfterFailure::RetryOnce), 0);
  EXPECT_EQ(failures, 1);
}

TEST_F(RunCallHooks, GoOnDoesNotRepeat) {
  EXPECT_EQ(Run({5}, AfterFailure::GoOn), 5);
  EXPECT_EQ(calls, 1);
}

TEST(RunCall, NoHooksReturnsStatus) {
  EXPECT_EQ(RunCall({}, {essbase::Operation::EsbListFilters}, [] { return 3; }), 3);
}

// A hook that repeats rows but not closes must be able to tell them apart,
// though both are EsbSetFilterRow.
TEST(RunCall, SinkTellsRowCallsFromClosingCalls) {
  essbase::testing::FakeEssbaseApi api;
  api.AddDatabase("Ledger", "Actuals");
  // The row's first try and the closing call are refused.
  api.Fail("EsbSetFilterRow", ESB_STS_BAD_ROW, 0, 1);
  api.Fail("EsbSetFilterRow", ESB_STS_BAD_ROW, 1, 1);
  essbase::Handle context = 3;
  std::vector<ServerCall> seen;
  CallHooks hooks;
  hooks.onFailure = [&](ServerCall call, int32_t) {
    seen.push_back(call);
    return call.closesFilter ? AfterFailure::GoOn : AfterFailure::RetryOnce;
  };
  ApiFilterSink sink(api, context, "Ledger", "Actuals", hooks);
  sink.OpenFilter("F");
  sink.AddRow("\"East\"", 273);
  sink.CloseFilter();
  const ServerCall row{essbase::Operation::EsbSetFilterRow};
  EXPECT_EQ(seen, (std::vector<ServerCall>{row, CloseFilterCall}));
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 3);
}

}  // namespace
}  // namespace filterfile
