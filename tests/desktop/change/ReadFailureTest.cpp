// A failure at any call of the read pass ends the run before the write pass:
// nothing is written from an incomplete copy, and an all-databases run
// unloads again the applications it found unloaded, whichever way it ends.
#include <stdexcept>

#include "tests/desktop/change/EngineTestSupport.h"

namespace desktop::change::testing {
namespace {

using essbase::AccessNone;
using essbase::AccessRead;
using essbase::AccessWrite;

constexpr int32_t Status = 1042;

struct ReadFailure {
  const char* operation;
  int after;  // successful calls of the operation before the failing one
  ChangeEnd end;
  int unloads;  // all databases: unload calls the run makes
};

std::ostream& operator<<(std::ostream& os, const ReadFailure& f) {
  return os << f.operation << " after " << f.after;
}

class ReadFailureOneDb : public EngineTest, public ::testing::WithParamInterface<ReadFailure> {
 protected:
  void SetUp() override {
    fake.AddFilter("Sample", "Basic", "F1", {{AccessRead, "East"}, {AccessWrite, "West"}});
    fake.AddFilter("Sample", "Basic", "F2", {{AccessNone, "EASTERN"}});
    EngineTest::SetUp();
  }
};

TEST_P(ReadFailureOneDb, EndsBeforeWritingWithTheFailingStatus) {
  const ReadFailure f = GetParam();
  fake.Fail(f.operation, Status, f.after);
  const ChangeOutcome o = Run(OneDb({"F1", "F2"}), "east", AccessWrite);
  EXPECT_EQ(o.end, f.end);
  EXPECT_EQ(o.status, Status);
  EXPECT_FALSE(Wrote());
  EXPECT_EQ(fake.CountCalls(f.operation), f.after + 1) << "the run goes no further";
}

INSTANTIATE_TEST_SUITE_P(
    EveryReadCall, ReadFailureOneDb,
    ::testing::Values(ReadFailure{"EsbSetActive", 0, ChangeEnd::ActivationFailed, 0},
                      ReadFailure{"EsbGetFilter", 0, ChangeEnd::FilterOpenFailed, 0},
                      ReadFailure{"EsbGetFilterRow", 0, ChangeEnd::FilterOpenFailed, 0},
                      ReadFailure{"EsbGetFilterRow", 1, ChangeEnd::LaterRowFailed, 0},
                      ReadFailure{"EsbGetFilterRow", 2, ChangeEnd::LaterRowFailed, 0},
                      ReadFailure{"EsbGetFilter", 1, ChangeEnd::FilterOpenFailed, 0},
                      ReadFailure{"EsbGetFilterRow", 3, ChangeEnd::FilterOpenFailed, 0},
                      ReadFailure{"EsbGetFilterRow", 4, ChangeEnd::LaterRowFailed, 0}));

class ReadFailureAllDbs : public EngineTest, public ::testing::WithParamInterface<ReadFailure> {
 protected:
  void SetUp() override {
    fake.AddFilter("Sample", "Basic", "Reader", {{AccessRead, "East"}});
    fake.AddApplication("Cold", false);
    fake.AddFilter("Cold", "Store", "Writer", {{AccessWrite, "West"}, {AccessRead, "Eastwood"}});
    EngineTest::SetUp();
  }
};

TEST_P(ReadFailureAllDbs, EndsBeforeWritingAndUnloadsWhatItFoundUnloaded) {
  const ReadFailure f = GetParam();
  fake.Fail(f.operation, Status, f.after);
  const ChangeOutcome o = Run(AllDbs({{"Sample", "Basic"}, {"Cold", "Store"}}), "east", AccessRead);
  EXPECT_EQ(o.end, f.end);
  EXPECT_EQ(fake.CountCalls("EsbUnloadApplication"), f.unloads);
  if (f.unloads > 0) {
    EXPECT_FALSE(fake.FindApplication("Cold")->loaded);
  }
  if (f.end == ChangeEnd::Changed) return;
  EXPECT_EQ(o.status, Status);
  EXPECT_FALSE(Wrote());
}

INSTANTIATE_TEST_SUITE_P(EveryReadCall, ReadFailureAllDbs,
                         ::testing::Values(
                             // The load state's look-up is not examined: the run goes on.
                             ReadFailure{"EsbGetApplicationInfo", 0, ChangeEnd::Changed, 1},
                             ReadFailure{"EsbSetActive", 0, ChangeEnd::ActivationFailed, 0},
                             ReadFailure{"EsbListFilters", 0, ChangeEnd::ListingFailed, 0},
                             ReadFailure{"EsbGetNextItem", 0, ChangeEnd::ListingFailed, 0},
                             ReadFailure{"EsbGetFilter", 0, ChangeEnd::FilterOpenFailed, 0},
                             ReadFailure{"EsbGetFilterRow", 0, ChangeEnd::FilterOpenFailed, 0},
                             ReadFailure{"EsbGetFilterRow", 1, ChangeEnd::LaterRowFailed, 0},
                             // Cold's load state unread: not known to be unloaded, so not unloaded.
                             ReadFailure{"EsbGetApplicationInfo", 1, ChangeEnd::Changed, 0},
                             ReadFailure{"EsbSetActive", 1, ChangeEnd::ActivationFailed, 1},
                             ReadFailure{"EsbListFilters", 1, ChangeEnd::ListingFailed, 1},
                             ReadFailure{"EsbGetNextItem", 1, ChangeEnd::ListingFailed, 1},
                             ReadFailure{"EsbGetFilter", 1, ChangeEnd::FilterOpenFailed, 1},
                             ReadFailure{"EsbGetFilterRow", 2, ChangeEnd::FilterOpenFailed, 1},
                             ReadFailure{"EsbGetFilterRow", 3, ChangeEnd::LaterRowFailed, 1},
                             ReadFailure{"EsbGetFilterRow", 4, ChangeEnd::LaterRowFailed, 1}));

class UnexpectedReadFailure : public EngineTest, public ::testing::WithParamInterface<bool> {};

TEST_P(UnexpectedReadFailure, RunTimeFailureWhileReadingEndsBeforeWriting) {
  const bool all = GetParam();
  fake.AddApplication("Cold", false);
  fake.AddFilter("Cold", "Store", "A", {{AccessRead, "East"}});
  fake.AddFilter("Cold", "Store", "B", {{AccessRead, "East"}});
  questions.onProgress = [](const ChangeProgress&) { throw std::runtime_error("out of memory"); };
  const ChangeOutcome o = Run(
      all ? AllDbs({{"Cold", "Store"}}) : OneDb({"A", "B"}, "Cold", "Store"), "east", AccessWrite);
  EXPECT_EQ(o.end, ChangeEnd::ReadFailed);
  EXPECT_EQ(o.description, "out of memory");
  EXPECT_FALSE(Wrote());
  EXPECT_EQ(fake.CountCalls("EsbUnloadApplication"), all ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, UnexpectedReadFailure, ::testing::Bool());

}  // namespace
}  // namespace desktop::change::testing
