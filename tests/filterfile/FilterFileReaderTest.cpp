#include <gtest/gtest.h>

#include <sstream>

#include "filterfile/FilterFileReader.h"
#include "filterfile/RowRecord.h"
#include "filterfile/LineReader.h"
#include "tests/filterfile/FailingStreams.h"
#include "tests/filterfile/ImportSupport.h"

namespace filterfile {
namespace {

// A file into Ledger/Actuals through the client library's backend, whatever
// the file's own application and database say.
class FileIntoDatabase : public testing::ImportOverLibrary {
 protected:
  FileIntoDatabase() { api.AddDatabase("Finance", "Plan"); }
};

const char* const ExampleFile =
    "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
    "Finance\tPlan\tReadEast\t275\tWest\r\r\n"
    "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n";

TEST_F(FileIntoDatabase, ExampleMakesExactCallSequence) {
  EXPECT_TRUE(Import(ExampleFile));
  EXPECT_EQ(counts.outcome, ReadOutcome::Complete);
  EXPECT_EQ(api.CallsText(),
            "EsbSetFilter(Ledger,Actuals,ReadEast,1,375)\n"
            "EsbSetFilterRow(East,273)\n"
            "EsbSetFilterRow(West,275)\n"
            "EsbSetFilterRow(null,375)\n"
            "EsbSetFilter(Ledger,Actuals,NoBudget,1,375)\n"
            "EsbSetFilterRow(Budget,0)\n"
            "EsbSetFilterRow(null,375)\n");
  for (const auto& call : api.calls) EXPECT_EQ(call.context, conn.ContextHandle) << call.text();
  ASSERT_NE(api.FindFilter("Ledger", "Actuals", "ReadEast"), nullptr);
  EXPECT_EQ(api.FindFilter("Finance", "Plan", "ReadEast"), nullptr);
}

TEST_F(FileIntoDatabase, EmptyFileMakesOnlyTheClosingCall) {
  EXPECT_TRUE(Import(""));
  EXPECT_EQ(api.CallsText(), "EsbSetFilterRow(null,375)\n");
}

TEST_F(FileIntoDatabase, FileOfLineEndsMakesOnlyTheClosingCall) {
  EXPECT_TRUE(Import("\r\n\r\r\n\n\r"));
  EXPECT_EQ(api.CallsText(), "EsbSetFilterRow(null,375)\n");
}

TEST_F(FileIntoDatabase, CommonAcrossTwoDatabasesIsOneFilter) {
  Import("Finance\tPlan\tCommon\t273\tA\r\r\nFinance\tBudget\tCommon\t275\tB\r\r\n");
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 1);
  const auto* common = api.FindFilter("Ledger", "Actuals", "Common");
  ASSERT_NE(common, nullptr);
  ASSERT_EQ(common->rows.size(), 2u);
  EXPECT_EQ(common->rows[1].text, "B");
}

TEST_F(FileIntoDatabase, NameComingBackOpensFilterAgain) {
  Import("a\tb\tX\t1\tfirst\nab\tb\tY\t1\ty\na\tb\tX\t2\tsecond\n");
  EXPECT_EQ(api.CallsText("EsbSetFilter"),
            "EsbSetFilter(Ledger,Actuals,X,1,375)\n"
            "EsbSetFilter(Ledger,Actuals,Y,1,375)\n"
            "EsbSetFilter(Ledger,Actuals,X,1,375)\n");
  ASSERT_EQ(api.FindFilter("Ledger", "Actuals", "X")->rows.size(), 1u);
  EXPECT_EQ(api.FindFilter("Ledger", "Actuals", "X")->rows[0].text, "second");
}

TEST_F(FileIntoDatabase, NamesDifferingInCaseAreSeparateFilters) {
  Import("a\tb\tread\t1\tx\na\tb\tRead\t1\ty\n");
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 2);
}

TEST_F(FileIntoDatabase, TruncatedLastLineStillImported) {
  Import("a\tb\tF\t273\tEast\r\r\na\tb\tF\t275\tWest");
  EXPECT_EQ(api.CallsText("EsbSetFilterRow"),
            "EsbSetFilterRow(East,273)\nEsbSetFilterRow(West,275)\nEsbSetFilterRow(null,375)\n");
}

TEST_F(FileIntoDatabase, TabInRowTextReadBackWhole) {
  Import("a\tb\tF\t273\t\"East\"\t\"Sales\"\t\r\r\n");
  EXPECT_EQ(api.FindFilter("Ledger", "Actuals", "F")->rows.at(0).text, "\"East\"\t\"Sales\"\t");
}

TEST_F(FileIntoDatabase, Access375InFileIsCarriedLikeAnyNumber) {
  Import("a\tb\tF\t375\tx\n");
  EXPECT_EQ(api.CallsText("EsbSetFilterRow"),
            "EsbSetFilterRow(x,375)\nEsbSetFilterRow(null,375)\n");
}

TEST_F(FileIntoDatabase, MalformedLineNeverReusesEarlierNameOrAccess) {
  EXPECT_FALSE(
      Import("a\tb\tF\t273\tEast\n"
             "a\tb\tG\tRead\tNorth\n"
             "a\tb\tshort\n"
             "a\tb\tF\t275\tWest\n"));
  EXPECT_EQ(report.passedOver, (std::vector<uint64_t>{2, 3}));
  // The line without a readable name may have been a row of F: F stays open.
  EXPECT_EQ(api.CallsText(),
            "EsbSetFilter(Ledger,Actuals,F,1,375)\n"
            "EsbSetFilterRow(East,273)\n"
            "EsbSetFilterRow(West,275)\n");
  EXPECT_EQ(report.leftUnchanged, (std::vector<std::string>{"F"}));
  EXPECT_TRUE(counts.serverOk);
}

TEST_F(FileIntoDatabase, EmptyFilterNameIsNoRecord) {
  EXPECT_FALSE(Import("a\tb\t\t273\tx\n"));
  EXPECT_EQ(report.passedOver, (std::vector<uint64_t>{1}));
  EXPECT_EQ(api.CallsText(), "EsbSetFilterRow(null,375)\n");
}

TEST_F(FileIntoDatabase, NulByteNeverCutsARowSilently) {
  EXPECT_FALSE(Import(std::string("a\tb\tF\t273\tEast\0West\na\tb\tF\t275\tSouth\n", 36)));
  EXPECT_EQ(report.passedOver, (std::vector<uint64_t>{1}));
  EXPECT_EQ(api.CallsText("EsbSetFilterRow"), "EsbSetFilterRow(South,275)\n");
  EXPECT_EQ(api.FindFilter("Ledger", "Actuals", "F"), nullptr);
}

TEST_F(FileIntoDatabase, FailedCallsDoNotStopTheReading) {
  api.Fail("EsbSetFilter", ESB_STS_UNKNOWN_DATABASE);
  EXPECT_FALSE(Import(ExampleFile));
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 2);
  // The fake had no open definition for ReadEast's rows: they fail in turn,
  // and ReadEast is never closed.
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 4);
  EXPECT_EQ(report.failures.front(), "EsbSetFilter:1051031");
  EXPECT_EQ(report.leftUnchanged, (std::vector<std::string>{"ReadEast"}));
  EXPECT_NE(api.FindFilter("Ledger", "Actuals", "NoBudget"), nullptr);
}

TEST_F(FileIntoDatabase, RefusedClosingCallOfEmptyFileIsAFailure) {
  api.Fail("EsbSetFilterRow", ESB_STS_STORE_FAILURE);
  EXPECT_FALSE(Import(""));
  EXPECT_EQ(report.failures, (std::vector<std::string>{"EsbSetFilterRow:1030030"}));
}

TEST_F(FileIntoDatabase, ReadErrorLeavesOpenFilterUnclosed) {
  // The first block reads whole; the device fails inside the second.
  std::string file;
  while (file.size() < 65536) file += "a\tb\tF\t273\tEast\n";
  testing::BrokenReadBuffer device(file + file, 65536);
  std::istream in(&device);
  EXPECT_FALSE(Import(in));
  EXPECT_EQ(counts.outcome, ReadOutcome::ReadError);
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 1);
  EXPECT_GT(api.CountCalls("EsbSetFilterRow"), 1000);
  EXPECT_EQ(api.calls.back().text(), "EsbSetFilterRow(East,273)");
  EXPECT_EQ(api.FindFilter("Ledger", "Actuals", "F"), nullptr);
  EXPECT_EQ(counts.leftUnchanged, 1u);
}

TEST_F(FileIntoDatabase, DeviceFailingAtItsFirstByteIsNoEmptyFileAndSendsNothing) {
  testing::BrokenReadBuffer device("");
  std::istream in(&device);
  Import(in);
  EXPECT_EQ(counts.outcome, ReadOutcome::ReadError);
  EXPECT_EQ(counts.stoppedAt, 1u);
  EXPECT_TRUE(api.calls.empty());
  EXPECT_TRUE(report.log.empty());
}

// An endless stream of zeros (-f /dev/zero) is one endless line: the reading
// ends at the longest record and nothing reaches the server.
TEST_F(FileIntoDatabase, EndlessLineEndsTheImportWithNothingWritten) {
  struct Zeros : std::streambuf {
    char zeros[4096] = {};
    int_type underflow() override {
      setg(zeros, zeros, zeros + sizeof zeros);
      return 0;
    }
  } zeros;
  std::istream in(&zeros);
  Import(in);
  EXPECT_EQ(counts.outcome, ReadOutcome::LineTooLong);
  EXPECT_EQ(counts.stoppedAt, 1u);
  EXPECT_TRUE(api.calls.empty());
  EXPECT_TRUE(report.log.empty());
}

TEST_F(FileIntoDatabase, LineLongerThanAnyRecordLeavesItsFilterUnchanged) {
  const std::string longest(MaxRecordLine - std::string("a\tb\tF\t1\t").size(), 'r');
  std::istringstream in("a\tb\tF\t1\t" + longest + "\na\tb\tF\t1\t" + longest + "r\n");
  EXPECT_FALSE(Import(in));
  EXPECT_EQ(counts.outcome, ReadOutcome::LineTooLong);
  EXPECT_EQ(counts.stoppedAt, 2u);
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 1);
  EXPECT_EQ(counts.leftUnchanged, 1u);  // opened, never closed
}

// A file written with names outside Latin-1 is UTF-8 behind its mark: the
// mark is no text of the first line, and names and rows reach the sink as
// they were written.
class RowsSeen final : public FilterSink {
 public:
  void OpenFilter(std::string_view name) override { seen += "open " + std::string(name) + "\n"; }
  void AddRow(std::string_view text, int16_t access) override {
    seen += "row " + std::to_string(access) + " " + std::string(text) + "\n";
  }
  void CloseFilter() override { seen += "close\n"; }
  void PassedOver(uint64_t line) override { seen += "passed " + std::to_string(line) + "\n"; }
  void RowLost() override { seen += "lost\n"; }
  std::string seen;
};

TEST(Utf8File, IsReadBehindItsMarkAndItsTextArrivesAsWritten) {
  std::istringstream in(
      "\xEF\xBB\xBF"
      "a\tb\tCaf\xC3\xA9\t273\t\xE2\x82\xAC\r\r\n"
      "a\tb\tCaf\xC3\xA9\t0\tplain\r\r\n");
  RowsSeen sink;
  EXPECT_EQ(ReadFilterFile(in, sink), ReadOutcome::Complete);
  EXPECT_EQ(sink.seen,
            "open Caf\xC3\xA9\nrow 273 \xE2\x82\xAC\nrow 0 plain\nclose\n");
}

TEST(Utf8File, LineThatIsNoUtf8IsPassedOverAndCountedFromTheFirstLine) {
  std::istringstream in(
      "\xEF\xBB\xBF"
      "a\tb\tF\t1\tone\n"
      "a\tb\tF\t1\tLatin-1 \xE9 in a UTF-8 file\n"
      "a\tb\tG\t1\tthree\n");
  RowsSeen sink;
  EXPECT_EQ(ReadFilterFile(in, sink), ReadOutcome::Complete);
  // Without a readable name the line may have been F's or G's: both lose it.
  EXPECT_EQ(sink.seen,
            "open F\nrow 1 one\npassed 2\nlost\nclose\nopen G\nlost\nrow 1 three\nclose\n");
}

TEST(Latin1File, TextIsWidenedToUtf8) {
  std::istringstream in("a\tb\tCaf\xE9\t1\t\xFF\n");
  RowsSeen sink;
  EXPECT_EQ(ReadFilterFile(in, sink), ReadOutcome::Complete);
  EXPECT_EQ(sink.seen, "open Caf\xC3\xA9\nrow 1 \xC3\xBF\nclose\n");
}

TEST(Latin1File, AnEncodingGivenIsUsedAndNoMarkLookedFor) {
  // A backup's range after its first bytes: the mark is not there to tell.
  std::istringstream in("a\tb\tCaf\xC3\xA9\t1\tr\n");
  RowsSeen sink;
  EXPECT_EQ(ReadFilterFile(in, sink, nullptr, FileEncoding::Utf8), ReadOutcome::Complete);
  EXPECT_EQ(sink.seen, "open Caf\xC3\xA9\nrow 1 r\nclose\n");
}

}  // namespace
}  // namespace filterfile
