// The write pass failing at any of its calls, and the retry protocol: Retry
// logs in again and writes every filter again from the copy; Cancel ends the
// run at once, leaving the interrupted filter unclosed.
#include <stdexcept>

#include "tests/desktop/change/EngineTestSupport.h"

namespace desktop::change::testing {
namespace {

using essbase::AccessNone;
using essbase::AccessRead;
using essbase::AccessWrite;

constexpr int32_t Status = 1042;
const char* const F1After = "1/375\n275:East\n275:West\n";
const char* const F2After = "1/375\n275:EASTERN\n";
const char* const F1Before = "0/273\n273:East\n275:West\n";
const char* const F2Before = "1/375\n0:EASTERN\n";

class WriteTest : public EngineTest {
 protected:
  void SetUp() override {
    auto& f1 =
        fake.AddFilter("Sample", "Basic", "F1", {{AccessRead, "East"}, {AccessWrite, "West"}});
    f1.active = 0;
    f1.access = AccessRead;
    fake.AddFilter("Sample", "Basic", "F2", {{AccessNone, "EASTERN"}});
    EngineTest::SetUp();
  }
  ChangeOutcome Change() { return Run(OneDb({"F1", "F2"}), "east", AccessWrite); }
  // The calls after the first login again.
  std::string CallsAfterLogin() const {
    std::string out;
    bool after = false;
    for (const auto& c : fake.calls) {
      after = after || c.name == "EsbLogin";
      if (after) out += c.text() + "\n";
    }
    return out;
  }
};

const char* const WholeWritePass =
    "EsbSetFilter(Sample,Basic,F1,1,375)\n"
    "EsbSetFilterRow(East,275)\n"
    "EsbSetFilterRow(West,275)\n"
    "EsbSetFilterRow(null,375)\n"
    "EsbSetFilter(Sample,Basic,F2,1,375)\n"
    "EsbSetFilterRow(EASTERN,275)\n"
    "EsbSetFilterRow(null,375)\n";

struct WriteFailure {
  const char* operation;
  int after;
  bool f1Written;  // F1 was closed before the failure
};

std::ostream& operator<<(std::ostream& os, const WriteFailure& f) {
  return os << f.operation << " after " << f.after;
}

// Every write call in order: open F1, its two rows, its close, open F2, its
// row, and the last close, whose failure would otherwise be reported as a
// success while the filter never got written.
const WriteFailure EveryWriteCall[] = {{"EsbSetFilter", 0, false},    {"EsbSetFilterRow", 0, false},
                                       {"EsbSetFilterRow", 1, false}, {"EsbSetFilterRow", 2, false},
                                       {"EsbSetFilter", 1, true},     {"EsbSetFilterRow", 3, true},
                                       {"EsbSetFilterRow", 4, true}};

class WriteFailureRetried : public WriteTest, public ::testing::WithParamInterface<WriteFailure> {};

TEST_P(WriteFailureRetried, RetryLogsInAgainAndWritesEveryFilterAgain) {
  const WriteFailure f = GetParam();
  fake.Fail(f.operation, Status, f.after);
  const ChangeOutcome o = Change();
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(o.changedFilters, 2);
  EXPECT_EQ(questions.Count("RetryOrCancel"), 1);
  EXPECT_EQ(CallsAfterLogin(), std::string("EsbLogin(fakesrv,admin,secret)\n"
                                           "EsbSetActive(Sample,Basic)\n") +
                                   WholeWritePass);
  // The new context serves every later call.
  EXPECT_NE(fake.calls.back().context, fake.calls.front().context);
  EXPECT_EQ(fake.calls.back().context, conn.ContextHandle);
  EXPECT_EQ(Rows("Sample", "Basic", "F1"), F1After);
  EXPECT_EQ(Rows("Sample", "Basic", "F2"), F2After);
}

INSTANTIATE_TEST_SUITE_P(EveryWriteCall, WriteFailureRetried, ::testing::ValuesIn(EveryWriteCall));

class WriteFailureCancelled : public WriteTest,
                              public ::testing::WithParamInterface<WriteFailure> {};

TEST_P(WriteFailureCancelled, CancelMakesNoFurtherCallAndLeavesTheInterruptedFilterAsItWas) {
  const WriteFailure f = GetParam();
  fake.Fail(f.operation, Status, f.after);
  questions.retry = {false};
  const size_t before = fake.calls.size();
  const ChangeOutcome o = Change();
  EXPECT_EQ(o.end, ChangeEnd::Cancelled);
  EXPECT_EQ(fake.calls.back().name, f.operation);
  EXPECT_GT(fake.calls.size(), before);
  EXPECT_EQ(fake.CountCalls("EsbLogin"), 0);
  EXPECT_EQ(Rows("Sample", "Basic", "F1"), f.f1Written ? F1After : F1Before);
  EXPECT_EQ(Rows("Sample", "Basic", "F2"), F2Before);
}

INSTANTIATE_TEST_SUITE_P(EveryWriteCall, WriteFailureCancelled,
                         ::testing::ValuesIn(EveryWriteCall));

TEST_F(WriteTest, LoginAgainThatFailsIsAskedAboutThenSucceeds) {
  fake.Fail("EsbSetFilterRow", Status, 1);
  fake.Fail("EsbSetActive", Status, 1);  // the first check after the login again
  const ChangeOutcome o = Change();
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(questions.log,
            (std::vector<std::string>{"ProcessEvents", "ProcessEvents", "RetryOrCancel",
                                      "StillCannotLogin", "ProcessEvents", "ProcessEvents",
                                      "ProcessEvents", "ProcessEvents"}));
  EXPECT_EQ(CallsAfterLogin(), std::string("EsbLogin(fakesrv,admin,secret)\n"
                                           "EsbSetActive(Sample,Basic)\n"
                                           "EsbLogin(fakesrv,admin,secret)\n"
                                           "EsbSetActive(Sample,Basic)\n") +
                                   WholeWritePass);
  EXPECT_EQ(Rows("Sample", "Basic", "F1"), F1After);
}

TEST_F(WriteTest, NoToTryingAgainStillWritesEverythingAgain) {
  fake.Fail("EsbSetFilter", Status);
  fake.Fail("EsbSetActive", Status, 1);
  questions.loginAgain = {false};
  const ChangeOutcome o = Change();
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(CallsAfterLogin(), std::string("EsbLogin(fakesrv,admin,secret)\n"
                                           "EsbSetActive(Sample,Basic)\n") +
                                   WholeWritePass);
}

TEST_F(WriteTest, ServerStillDownBringsTheRetryQuestionBackUntilCancel) {
  fake.Fail("EsbSetFilter", Status, 0, 0);
  questions.retry = {true, true, false};
  const ChangeOutcome o = Change();
  EXPECT_EQ(o.end, ChangeEnd::Cancelled);
  EXPECT_EQ(questions.Count("RetryOrCancel"), 3);
  EXPECT_EQ(fake.CountCalls("EsbLogin"), 2);
  EXPECT_EQ(fake.CountCalls("EsbSetFilter"), 3);
  EXPECT_EQ(Rows("Sample", "Basic", "F1"), F1Before);
}

TEST_F(WriteTest, RunTimeFailureWhileWritingIsShownThenEntersTheRetryProtocol) {
  int thrown = 0;
  questions.onProcessEvents = [&] {
    if (thrown++ == 0) throw std::runtime_error("window gone");
  };
  const ChangeOutcome o = Change();
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  ASSERT_GE(questions.log.size(), 3u);
  EXPECT_EQ(questions.log[1], "Unexpected(window gone)");
  EXPECT_EQ(questions.log[2], "RetryOrCancel");
  EXPECT_EQ(fake.CountCalls("EsbLogin"), 1);
  EXPECT_EQ(Rows("Sample", "Basic", "F1"), F1After);
  EXPECT_EQ(Rows("Sample", "Basic", "F2"), F2After);
}

TEST_F(WriteTest, RetryWritesFromTheCopyNotFromWhatTheServerHoldsNow) {
  // The failed pass left F1 half-written on a server that dropped it; the
  // second pass must still write the rows read before anything changed.
  fake.Fail("EsbSetFilterRow", Status, 3);
  fake.onCall = [&](const essbase::testing::FakeCall& c) {
    if (c.name == "EsbLogin") fake.FindFilter("Sample", "Basic", "F2")->rows.clear();
  };
  const ChangeOutcome o = Change();
  EXPECT_EQ(o.end, ChangeEnd::Changed);
  EXPECT_EQ(Rows("Sample", "Basic", "F2"), F2After);
}

}  // namespace
}  // namespace desktop::change::testing
