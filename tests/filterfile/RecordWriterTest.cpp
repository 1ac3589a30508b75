#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "filterfile/RecordProducer.h"
#include "tests/filterfile/FailingStreams.h"
#include "tests/support/FakeEssbaseApi.h"

namespace filterfile {
namespace {

using essbase::testing::FakeEssbaseApi;
using essbase::testing::FakeRow;

class DatabaseIntoFile : public ::testing::Test {
 protected:
  DatabaseIntoFile() {
    api.AddDatabase("Finance", "Plan");
    api.AddFilter("Finance", "Plan", "ReadEast", {{273, "East"}, {275, "West"}});
    api.AddFilter("Finance", "Plan", "Empty");
    api.AddFilter("Finance", "Plan", "NoBudget", {{0, "Budget"}});
    options.rowBuffer = essbase::CommandLineRowBuffer;
    options.hooks.onFailure = [&](ServerCall call, int32_t status) {
      failures.push_back(std::string(essbase::OperationName(call.operation)) + ":" +
                         std::to_string(status));
      return AfterFailure::GoOn;
    };
  }

  ProduceOutcome Produce() { return ProduceRecords(api, context, "Finance", "Plan", out, options); }

  FakeEssbaseApi api;
  essbase::Handle context = 5;
  ProducerOptions options;
  std::ostringstream out;
  std::vector<std::string> failures;
};

const char* const ExampleFile =
    "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
    "Finance\tPlan\tReadEast\t275\tWest\r\r\n"
    "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n";

TEST_F(DatabaseIntoFile, ExampleBytesInListingOrder) {
  EXPECT_EQ(Produce(), ProduceOutcome::Complete);
  EXPECT_EQ(out.str(), ExampleFile);
  EXPECT_TRUE(failures.empty());
}

TEST_F(DatabaseIntoFile, CallSequenceWithRowBufferSize) {
  Produce();
  EXPECT_EQ(api.CallsText(),
            "EsbListFilters(Finance,Plan)\n"
            "EsbGetNextItem(12,30)\nEsbGetFilter(Finance,Plan,ReadEast)\n"
            "EsbGetFilterRow(512)\nEsbGetFilterRow(512)\nEsbGetFilterRow(512)\n"
            "EsbGetNextItem(12,30)\nEsbGetFilter(Finance,Plan,Empty)\nEsbGetFilterRow(512)\n"
            "EsbGetNextItem(12,30)\nEsbGetFilter(Finance,Plan,NoBudget)\n"
            "EsbGetFilterRow(512)\nEsbGetFilterRow(512)\n");
}

TEST_F(DatabaseIntoFile, DatabaseWithoutFiltersWritesNothing) {
  api.AddDatabase("Finance", "Bare");
  EXPECT_EQ(ProduceRecords(api, context, "Finance", "Bare", out, options),
            ProduceOutcome::Complete);
  EXPECT_EQ(out.str(), "");
}

TEST_F(DatabaseIntoFile, SelectionWritesOnlyChosenFiltersButReadsAll) {
  options.selected = [](std::string_view name) { return name == "NoBudget"; };
  Produce();
  EXPECT_EQ(out.str(), "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n");
  EXPECT_EQ(api.CountCalls("EsbGetFilter"), 3);
}

TEST_F(DatabaseIntoFile, NameFillingItsFieldKeptWhole) {
  const std::string full(30, 'N');
  api.AddFilter("Finance", "Plan", full, {{1, "r"}});
  Produce();
  EXPECT_NE(out.str().find("\t" + full + "\t1\tr\r\r\n"), std::string::npos);
}

TEST_F(DatabaseIntoFile, RowLongerThanBufferIsReadWhole) {
  const std::string longest(essbase::MaxRowLength, 'x');
  api.FindFilter("Finance", "Plan", "NoBudget")->rows = {{0, std::string(512, 'y')},
                                                         {273, longest}};
  EXPECT_EQ(Produce(), ProduceOutcome::Complete);
  EXPECT_TRUE(failures.empty());
  EXPECT_NE(out.str().find("\tNoBudget\t0\t" + std::string(512, 'y') + "\r\r\n"),
            std::string::npos);
  EXPECT_NE(out.str().find("\tNoBudget\t273\t" + longest + "\r\r\n"), std::string::npos);
}

TEST_F(DatabaseIntoFile, RowBeyondServerMaximumIsFailureNeverCut) {
  api.FindFilter("Finance", "Plan", "NoBudget")->rows[0].text =
      std::string(essbase::MaxRowLength + 1, 'x');
  EXPECT_EQ(Produce(), ProduceOutcome::ServerFailure);
  EXPECT_EQ(failures, (std::vector<std::string>{"EsbGetFilterRow:1030022"}));
  EXPECT_EQ(out.str(),
            "Finance\tPlan\tReadEast\t273\tEast\r\r\nFinance\tPlan\tReadEast\t275\tWest\r\r\n");
}

TEST_F(DatabaseIntoFile, RowOfBufferSizeLessOneFits) {
  api.FindFilter("Finance", "Plan", "NoBudget")->rows[0].text = std::string(511, 'x');
  EXPECT_EQ(Produce(), ProduceOutcome::Complete);
  EXPECT_NE(out.str().find(std::string(511, 'x') + "\r\r\n"), std::string::npos);
}

// A library that fills the whole buffer and leaves no NUL.
class UnterminatedRowApi : public FakeEssbaseApi {
 public:
  int32_t EsbGetFilterRow(essbase::Handle context, std::span<char> row, int16_t& access) override {
    int32_t status = FakeEssbaseApi::EsbGetFilterRow(context, row, access);
    if (status == 0 && row[0] != '\0') std::memset(row.data(), 'y', row.size());
    return status;
  }
};

TEST(RowWithoutNul, IsFailureNotWritten) {
  UnterminatedRowApi api;
  api.AddFilter("A", "B", "F", {{1, "r"}});
  std::ostringstream out;
  ProducerOptions options;
  std::vector<int32_t> statuses;
  options.hooks.onStatus = [&](int32_t s) { statuses.push_back(s); };
  EXPECT_EQ(ProduceRecords(api, 1, "A", "B", out, options), ProduceOutcome::ServerFailure);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(statuses.back(), ESB_STS_BUFFER_TOO_SMALL);
}

struct StopCase {
  const char* operation;
  int after;
  const char* written;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const StopCase& c, std::ostream* os) {
  *os << c.operation;
}

class FailedCallStopsProducer : public DatabaseIntoFile,
                                public ::testing::WithParamInterface<StopCase> {};

TEST_P(FailedCallStopsProducer, KeepsRecordsWrittenBefore) {
  const StopCase& c = GetParam();
  api.Fail(c.operation, essbase::ReloginStatus, c.after);
  EXPECT_EQ(Produce(), ProduceOutcome::ServerFailure);
  EXPECT_EQ(failures, (std::vector<std::string>{std::string(c.operation) + ":1051021"}));
  EXPECT_EQ(out.str(), c.written);
  EXPECT_EQ(api.calls.back().name, c.operation);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, FailedCallStopsProducer,
    ::testing::Values(StopCase{"EsbListFilters", 0, ""}, StopCase{"EsbGetNextItem", 0, ""},
                      StopCase{"EsbGetFilter", 1,
                               "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
                               "Finance\tPlan\tReadEast\t275\tWest\r\r\n"},
                      StopCase{"EsbGetFilterRow", 1, "Finance\tPlan\tReadEast\t273\tEast\r\r\n"}),
    [](const auto& info) { return std::string(info.param.operation); });

TEST_F(DatabaseIntoFile, RetriedListingContinuesWithRenewedContext) {
  api.Fail("EsbListFilters", essbase::ReloginStatus);
  options.hooks.onFailure = [&](ServerCall call, int32_t) {
    context = 9;  // logged in again
    return call.operation == essbase::Operation::EsbListFilters ? AfterFailure::RetryOnce
                                                                : AfterFailure::GoOn;
  };
  EXPECT_EQ(Produce(), ProduceOutcome::Complete);
  EXPECT_EQ(out.str(), ExampleFile);
  EXPECT_EQ(api.CountCalls("EsbListFilters"), 2);
  EXPECT_EQ(api.calls[1].context, 9u);
}

TEST_F(DatabaseIntoFile, FullDiskStopsWithWriteFailure) {
  testing::FullDiskBuffer disk(40);
  std::ostream small(&disk);
  EXPECT_EQ(ProduceRecords(api, context, "Finance", "Plan", small, options),
            ProduceOutcome::WriteFailure);
  EXPECT_LT(api.CountCalls("EsbGetFilterRow"), 6);
}

}  // namespace
}  // namespace filterfile
