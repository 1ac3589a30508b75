// What an import reports, and in which order: the file's order, with each
// failed call of the client library's path in the place the reading met it.
#include "filterfile/ImportWriter.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/filterfile/ImportSupport.h"
#include "tests/support/FakeServer.h"

namespace filterfile {
namespace {

using essbase::Step;
using Log = std::vector<std::string>;

class ReportOrder : public testing::ImportOverLibrary {};

TEST_F(ReportOrder, OpeningFailureComesBeforeEveryLineOfItsFilter) {
  api.Fail("EsbSetFilter", ESB_STS_STORE_FAILURE);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\na\tb\tA\tbad\tx\na\tb\tA\t1\tr2\n"));
  // The rows still go (Import carries on) and find nothing open.
  EXPECT_EQ(report.log, (Log{"failed A EsbSetFilter:1030030", "failed A EsbSetFilterRow:1030023",
                             "line 2", "failed A EsbSetFilterRow:1030023", "ended A unchanged"}));
}

TEST_F(ReportOrder, RowFailureComesAfterTheLinesBeforeThatRow) {
  api.Fail("EsbSetFilterRow", ESB_STS_BAD_ROW, 1);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\na\tb\tA\tbad\tx\na\tb\tA\t1\tr2\n"
                      "a\tb\tA\tbad\ty\na\tb\tA\t1\tr3\n"));
  EXPECT_EQ(report.log, (Log{"line 2", "failed A EsbSetFilterRow:1051048", "line 4",
                             "ended A unchanged"}));
}

TEST_F(ReportOrder, ClosingFailureComesAfterEveryLineOfItsFilter) {
  // A line naming a filter the file does not define takes no row from A.
  api.Fail("EsbSetFilterRow", ESB_STS_STORE_FAILURE, 2);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\na\tb\tZ\t-\tx\na\tb\tA\t1\tr2\na\tb\tZ\t-\ty\n"));
  EXPECT_EQ(report.log, (Log{"line 2", "line 4", "failed A EsbSetFilterRow:1030030",
                             "ended A unchanged"}));
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 3);
}

TEST_F(ReportOrder, LinesBeforeAndBetweenFiltersStandWhereTheyWere) {
  api.Fail("EsbSetFilterRow", ESB_STS_BAD_ROW, 0);
  EXPECT_FALSE(Import("a\tb\tZ\t-\tfirst\na\tb\tA\t1\tr1\na\tb\tY\t-\tbetween\n"
                      "a\tb\tB\t1\tb1\n"));
  EXPECT_EQ(report.log, (Log{"line 1", "failed A EsbSetFilterRow:1051048", "line 3",
                             "ended A unchanged", "ended B done"}));
}

TEST_F(ReportOrder, EachFailedCallOfAFilterIsReportedInCallOrder) {
  api.Fail("EsbSetFilterRow", ESB_STS_BAD_ROW, 0, 2);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\na\tb\tA\t1\tr2\na\tb\tA\t1\tr3\n"));
  EXPECT_EQ(report.failures, (Log{"EsbSetFilterRow:1051048", "EsbSetFilterRow:1051048"}));
  EXPECT_EQ(counts.firstFailure.status, ESB_STS_BAD_ROW);
  EXPECT_EQ(counts.firstFailure.filter, "A");
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 3);  // no closing call
}

TEST_F(ReportOrder, FileWithoutRecordsEndsWithTheOneClosingCall) {
  EXPECT_TRUE(Import(""));
  EXPECT_EQ(report.log, Log{"ended close done"});
  EXPECT_EQ(api.CallsText(), "EsbSetFilterRow(null,375)\n");
  EXPECT_EQ(counts.committed, 0u);
}

TEST_F(ReportOrder, RefusedClosingCallOfAFileWithoutRecordsIsAFailedCall) {
  api.Fail("EsbSetFilterRow", ESB_STS_STORE_FAILURE);
  EXPECT_FALSE(Import("a\tb\tF\tbad\tline\n"));
  EXPECT_EQ(report.log, (Log{"line 1", "failed close EsbSetFilterRow:1030030",
                             "ended close unchanged"}));
  EXPECT_FALSE(counts.serverOk);
  EXPECT_EQ(counts.leftUnchanged, 0u);
}

TEST_F(ReportOrder, WithoutCloseWhenEmptyAFileWithoutRecordsMakesNoCall) {
  options.closeWhenEmpty = false;
  EXPECT_TRUE(Import(""));
  EXPECT_TRUE(api.calls.empty());
  EXPECT_TRUE(report.log.empty());
}

TEST_F(ReportOrder, FileWithRecordsMakesNoExtraClosingCall) {
  EXPECT_TRUE(Import("a\tb\tA\t1\tr1\n"));
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 2);
  EXPECT_EQ(report.log, Log{"ended A done"});
}

TEST_F(ReportOrder, StoppingAtTheFirstFailedCallSendsNoMoreOfThatFilter) {
  options.carryOn = false;
  api.Fail("EsbSetFilter", ESB_STS_STORE_FAILURE);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\na\tb\tA\t1\tr2\na\tb\tB\t1\tb1\n"));
  EXPECT_EQ(report.log, (Log{"failed A EsbSetFilter:1030030", "ended A unchanged", "ended B done"}));
  EXPECT_EQ(api.CallsText("EsbSetFilterRow"), "EsbSetFilterRow(b1,1)\nEsbSetFilterRow(null,375)\n");
}

// Import's policy: a row call that met an ended login is made once more
// after a new login; the closing call and the opening call never are.
class RowCallsAfterLoginAgain : public testing::ImportOverLibrary {
 protected:
  essbase::Session::Policed policed = session.Under(essbase::policy::ImportRows());
};

TEST_F(RowCallsAfterLoginAgain, RowIsMadeOnceMoreOnTheNewLogin) {
  const essbase::Handle before = conn.ContextHandle;
  api.Fail("EsbSetFilterRow", essbase::ReloginStatus);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\n"));
  const std::vector<essbase::Handle> contexts = ContextsOf("EsbSetFilterRow");
  ASSERT_EQ(contexts.size(), 2u);
  EXPECT_EQ(contexts[0], before);
  EXPECT_EQ(contexts[1], conn.ContextHandle);
  EXPECT_NE(contexts[1], before);
  EXPECT_EQ(listener.loggedInAgain, 1);
  // The definition opened on the ended login is gone: the row finds none
  // open, and nothing is committed.
  EXPECT_EQ(report.failures, Log{"EsbSetFilterRow:1030023"});
  EXPECT_EQ(Rows("A"), "-");
}

TEST_F(RowCallsAfterLoginAgain, RowIsNotMadeAThirdTime) {
  api.Fail("EsbSetFilterRow", essbase::ReloginStatus, 0, 2);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\n"));
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 2);
  EXPECT_EQ(report.failures, Log{"EsbSetFilterRow:1051021"});
}

TEST_F(RowCallsAfterLoginAgain, ClosingCallIsNotRepeated) {
  api.Fail("EsbSetFilterRow", essbase::ReloginStatus, 1);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\n"));
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 2);
  EXPECT_EQ(listener.loggedInAgain, 0);
  EXPECT_EQ(report.log, (Log{"failed A EsbSetFilterRow:1051021", "ended A unchanged"}));
}

TEST_F(RowCallsAfterLoginAgain, OpeningCallIsNotRepeated) {
  api.Fail("EsbSetFilter", essbase::ReloginStatus);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\n"));
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 1);
  EXPECT_EQ(listener.loggedInAgain, 1);  // for the row that followed
}

class RowCallsWithoutImportsPolicy : public testing::ImportOverLibrary {};

TEST_F(RowCallsWithoutImportsPolicy, AreNotRepeated) {
  api.Fail("EsbSetFilterRow", essbase::ReloginStatus);
  EXPECT_FALSE(Import("a\tb\tA\t1\tr1\n"));
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 1);
  EXPECT_EQ(api.CountCalls("EsbAutoLogin") + api.CountCalls("EsbLogin"), 0);
  EXPECT_EQ(report.failures, Log{"EsbSetFilterRow:1051021"});
}

// Outcomes that do not depend on the client library's calls, over the fake
// server.
class ImportOutcomes : public ::testing::Test {
 protected:
  ImportOutcomes() {
    server.AddDatabase("Ledger", "Actuals");
    server.AddFilter("Ledger", "Actuals", "A", {{275, "old a"}});
  }
  testing::ImportCounts Import(const std::string& text) {
    std::istringstream in(text);
    return testing::RunImport(server, in, report);
  }

  essbase::testing::FakeServer server;
  testing::RecordedReport report;
};

const char* const ThreeFilters = "a\tb\tA\t1\ta1\na\tb\tB\t1\tb1\na\tb\tC\t1\tc1\n";

TEST_F(ImportOutcomes, EveryFilterWrittenWholeIsOk) {
  const testing::ImportCounts c = Import(ThreeFilters);
  EXPECT_TRUE(c.ok);
  EXPECT_TRUE(c.serverOk);
  EXPECT_EQ(c.committed, 3u);
  EXPECT_EQ(server.CallsText(),
            "WriteFilter(Ledger,Actuals,A,1,375,1 rows)\nWriteFilter(Ledger,Actuals,B,1,375,1 rows)\n"
            "WriteFilter(Ledger,Actuals,C,1,375,1 rows)\n");
  EXPECT_EQ(report.log, (Log{"ended A done", "ended B done", "ended C done"}));
}

TEST_F(ImportOutcomes, FilterThatLostARowIsSentAsLostAndLeftUnchanged) {
  const std::string before = server.ContentText();
  const testing::ImportCounts c = Import("a\tb\tA\t1\tnew\na\tb\tA\tbad\tx\n");
  EXPECT_EQ(server.CallsText(), "WriteFilter(Ledger,Actuals,A,1,375,1 rows,lost)\n");
  EXPECT_EQ(server.ContentText(), before);
  EXPECT_EQ(c.leftUnchanged, 1u);
  EXPECT_EQ(c.committed, 0u);
  EXPECT_TRUE(c.serverOk);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(report.log, (Log{"line 2", "ended A unchanged"}));
}

TEST_F(ImportOutcomes, PassedOverLineAloneMakesTheImportNotOk) {
  const testing::ImportCounts c = Import("a\tb\tA\t1\ta1\na\tb\tZ\t-\tx\na\tb\tZ\t-\ty\n");
  EXPECT_EQ(c.committed, 1u);
  EXPECT_EQ(c.leftUnchanged, 0u);
  EXPECT_TRUE(c.serverOk);
  EXPECT_EQ(c.passedOver, 2u);
  EXPECT_EQ(c.firstPassedOver, 2u);
  EXPECT_FALSE(c.ok);
}

TEST_F(ImportOutcomes, UnknownOutcomeIsCountedApartAndIsAFailure) {
  essbase::Failure noAnswer = essbase::FailureOf(Step::WriteFilter, ESB_STS_STORE_FAILURE);
  noAnswer.unknownOutcome = true;
  noAnswer.detail = "no answer in time";
  server.Fail(Step::WriteFilter, noAnswer);
  const testing::ImportCounts c = Import(ThreeFilters);
  EXPECT_EQ(c.unknown, 1u);
  EXPECT_EQ(c.leftUnchanged, 0u);
  EXPECT_EQ(c.committed, 2u);
  EXPECT_FALSE(c.serverOk);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.firstFailure.detail, "no answer in time");
  EXPECT_EQ(report.log, (Log{"failed A :1030030", "ended A unknown", "ended B done",
                             "ended C done"}));
}

TEST_F(ImportOutcomes, FiltersAfterTheServerWentAwayAreSkippedNotFailed) {
  essbase::Failure gone = essbase::FailureOf(Step::WriteFilter, ESB_STS_STORE_FAILURE);
  gone.unreachable = true;
  gone.serverText = "connection refused";
  server.Fail(Step::WriteFilter, gone);
  const testing::ImportCounts c = Import(ThreeFilters);
  EXPECT_EQ(c.skipped, 2u);
  EXPECT_EQ(c.leftUnchanged, 1u);
  EXPECT_EQ(c.committed, 0u);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.firstFailure.serverText, "connection refused");
  EXPECT_EQ(report.failures.size(), 1u);
  EXPECT_EQ(report.log, (Log{"failed A :1030030", "ended A unchanged", "ended B skipped",
                             "ended C skipped"}));
  EXPECT_EQ(server.Count("WriteFilter"), 1);
}

TEST_F(ImportOutcomes, FirstFailureIsTheFirstInFileOrder) {
  server.AddFilter("Ledger", "Actuals", "B");
  essbase::Failure first = essbase::FailureOf(Step::WriteFilter, ESB_STS_BAD_ROW);
  first.serverText = "first";
  essbase::Failure second = essbase::FailureOf(Step::WriteFilter, ESB_STS_STORE_FAILURE);
  second.serverText = "second";
  server.Fail(Step::WriteFilter, first, 1);
  server.Fail(Step::WriteFilter, second, 1);
  const testing::ImportCounts c = Import(ThreeFilters);
  EXPECT_EQ(c.firstFailure.serverText, "first");
  EXPECT_EQ(c.firstFailure.filter, "B");
  EXPECT_EQ(report.failures, (Log{":1051048", ":1030030"}));
}

// A backend that answers several writes at once gives the outcomes later:
// the report keeps the file's order all the same.
TEST_F(ImportOutcomes, HeldOutcomesAreReportedInTheFilesOrder) {
  server.holdOutcomes = true;
  server.Fail(Step::WriteFilter, ESB_STS_BAD_ROW, 1);
  const testing::ImportCounts c =
      Import("a\tb\tZ\t-\tfirst\na\tb\tA\t1\ta1\na\tb\tY\t-\tx\na\tb\tB\t1\tb1\n"
             "a\tb\tY\t-\ty\na\tb\tC\t1\tc1\n");
  EXPECT_EQ(report.log, (Log{"line 1", "line 3", "ended A done", "line 5", "failed B :1051048",
                             "ended B unchanged", "ended C done"}));
  EXPECT_EQ(c.committed, 2u);
}

TEST_F(ImportOutcomes, EveryFilterGoesIntoTheTargetDatabaseWithImportsValues) {
  server.AddDatabase("Else", "Where");
  Import("Else\tWhere\tN\t-5\tx\n");
  const essbase::Filter* n = server.FindFilter("Ledger", "Actuals", "N");
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->active, essbase::FilterActive);
  EXPECT_EQ(n->access, essbase::FilterAccess);
  EXPECT_EQ(n->rows, (std::vector<essbase::FilterRow>{{-5, "x"}}));
  EXPECT_EQ(server.FindFilter("Else", "Where", "N"), nullptr);
  EXPECT_TRUE(server.writeRuns.at(0).carryOn);
  EXPECT_TRUE(server.writeRuns.at(0).closeWhenEmpty);
}

}  // namespace
}  // namespace filterfile
