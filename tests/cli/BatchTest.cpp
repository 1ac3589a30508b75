#include <gtest/gtest.h>

#include <algorithm>

#include "cli/Driver.h"
#include "cli/Messages.h"
#include "cli/RunState.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/FakeEssbaseApi.h"

namespace cli {
namespace {

using essbase::testing::FakeEssbaseApi;

// Runs whole export and import runs and checks the failure lines of the run
// log between the two header lines and the closing empty line.
class BatchRun : public ::testing::Test {
 protected:
  BatchRun() {
    api.AddFilter("Finance", "Plan", "ReadEast", {{273, "East"}, {275, "West"}});
    api.AddFilter("Finance", "Plan", "NoBudget", {{0, "Budget"}});
    api.AddDatabase("Ledger", "Actuals");
  }
  int Export(const std::string& file) {
    return RunDriver(api, log, clock,
                     "-s srv -a Finance -d Plan -i u -p pw -f " + file + " -t export");
  }
  int Import(const std::string& file) {
    return RunDriver(api, log, clock,
                     "-s srv -a Ledger -d Actuals -i u -p pw -f " + file + " -t import");
  }
  int ImportText(const std::string& text) {
    testing::WriteFile(dir / "in.txt", text);
    return Import(dir / "in.txt");
  }
  // The lines after the two header lines, without the closing empty line.
  std::string Middle() {
    size_t second = log.bytes.find("\r\n", log.bytes.find("\r\n") + 2) + 2;
    EXPECT_EQ(log.bytes.substr(log.bytes.size() - 4), "\r\n\r\n");
    return log.bytes.substr(second, log.bytes.size() - 2 - second);
  }
  bool LoggedOut() { return api.CountCalls("EsbLogout") == 1 && api.CountCalls("EsbTerm") == 1; }
  static std::string Line(std::string_view text) { return std::string(text) + "\r\n"; }

  FakeEssbaseApi api;
  testing::MemoryLog log;
  testing::FixedClock clock;
  testing::TempDir dir;
};

const char* const ReadEastRecords =
    "Finance\tPlan\tReadEast\t273\tEast\r\r\nFinance\tPlan\tReadEast\t275\tWest\r\r\n";

TEST_F(BatchRun, ExportReplacesExistingFile) {
  testing::WriteFile(dir / "out.txt", std::string(10000, 'z'));
  EXPECT_EQ(Export(dir / "out.txt"), 0);
  EXPECT_EQ(testing::ReadFile(dir / "out.txt"),
            std::string(ReadEastRecords) + "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n");
  EXPECT_EQ(Middle(), "");
}

TEST_F(BatchRun, ExportOfDatabaseWithoutFiltersEmptiesFile) {
  api.AddDatabase("Finance", "Bare");
  testing::WriteFile(dir / "out.txt", "old");
  EXPECT_EQ(RunDriver(api, log, clock,
                      "-s s -a Finance -d Bare -i u -p p -f " + (dir / "out.txt") + " -t export"),
            0);
  EXPECT_EQ(testing::ReadFile(dir / "out.txt"), "");
}

TEST_F(BatchRun, RefusedListingOneLineEmptyFile) {
  api.Fail("EsbListFilters", ESB_STS_UNKNOWN_DATABASE);
  EXPECT_EQ(Export(dir / "out.txt"), 1);
  EXPECT_EQ(Middle(), Line(msg::ExportFailed));
  EXPECT_EQ(testing::ReadFile(dir / "out.txt"), "");
  EXPECT_TRUE(LoggedOut());
}

TEST_F(BatchRun, RefusedRowStopsExportKeepsEarlierRecords) {
  api.Fail("EsbGetFilterRow", ESB_STS_STORE_FAILURE, 2);
  EXPECT_EQ(Export(dir / "out.txt"), 1);
  EXPECT_EQ(Middle(), Line(msg::ExportFailed));
  EXPECT_EQ(testing::ReadFile(dir / "out.txt"), ReadEastRecords);
  EXPECT_EQ(api.CountCalls("EsbGetFilter"), 1);
  EXPECT_TRUE(LoggedOut());
}

TEST_F(BatchRun, ReloginStatusIsAnOrdinaryFailure) {
  api.Fail("EsbGetFilter", essbase::ReloginStatus);
  EXPECT_EQ(Export(dir / "out.txt"), 1);
  EXPECT_EQ(Middle(), Line(msg::ExportFailed));
  EXPECT_EQ(api.CountCalls("EsbLogin"), 1);
  EXPECT_EQ(api.CountCalls("EsbGetFilter"), 1);
}

TEST_F(BatchRun, RowLongerThan511IsExportedWhole) {
  const std::string row(essbase::MaxRowLength, 'x');
  api.FindFilter("Finance", "Plan", "NoBudget")->rows[0].text = row;
  EXPECT_EQ(Export(dir / "out.txt"), 0);
  EXPECT_EQ(Middle(), "");
  EXPECT_EQ(testing::ReadFile(dir / "out.txt"),
            std::string(ReadEastRecords) + "Finance\tPlan\tNoBudget\t0\t" + row + "\r\r\n");
}

TEST_F(BatchRun, ExportFileNotCreatedOneLineThenLogout) {
  const std::string file = dir / "missing-folder/out.txt";
  EXPECT_EQ(Export(file), 1);
  EXPECT_EQ(Middle(), Line(std::string(msg::ExportFileNotCreated) + file));
  EXPECT_EQ(api.CountCalls("EsbListFilters"), 0);
  EXPECT_TRUE(LoggedOut());
}

TEST_F(BatchRun, FullDiskFailsExportNotReportedAsSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_EQ(Export("/dev/full"), 1);
  EXPECT_EQ(Middle(), Line(std::string(msg::ExportFileNotWritten) + "/dev/full"));
  EXPECT_TRUE(LoggedOut());
}

#ifndef _WIN32
TEST_F(BatchRun, UnreadableImportFileNeverClosesAFilter) {
  // A folder opens like a file and then fails on the first read: already
  // the backup's reading of the names it defines.
  EXPECT_EQ(Import(dir.path()), 1);
  EXPECT_EQ(Middle(),
            Line(std::string(msg::NoBackupBeforeImport) + std::string(msg::ImportFileUnreadable)));
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 0);
  EXPECT_TRUE(LoggedOut());
}
#endif

TEST_F(BatchRun, ImportIntoCommandLineDatabase) {
  EXPECT_EQ(ImportText("Finance\tPlan\tReadEast\t273\tEast\r\r\n\r\n\n"
                       "Other\tDb\tReadEast\t275\tWest\r\r\n\r\r\n"),
            0);
  EXPECT_EQ(Middle(), "");
  EXPECT_EQ(api.CallsText("EsbSetFilter"), "EsbSetFilter(Ledger,Actuals,ReadEast,1,375)\n");
  EXPECT_EQ(api.FindFilter("Ledger", "Actuals", "ReadEast")->rows.size(), 2u);
  EXPECT_TRUE(LoggedOut());
}

TEST_F(BatchRun, ImportFileNotOpenedOneLineNoServerCall) {
  const std::string file = dir / "absent.txt";
  EXPECT_EQ(Import(file), 1);
  EXPECT_EQ(Middle(), Line(std::string(msg::ImportFileNotOpened) + file));
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 0);
  EXPECT_TRUE(LoggedOut());
}

TEST_F(BatchRun, MalformedLinesNamedByNumberFilterLeftUnchanged) {
  api.AddFilter("Ledger", "Actuals", "F", {{275, "old"}});
  EXPECT_EQ(ImportText("a\tb\tF\t273\tEast\r\r\n"
                       "a\tb\tF\t70000\tNorth\r\r\n"
                       "no tabs here\r\r\n"
                       "a\tb\tF\t275\tWest\r\r\n"
                       "a\tb\tG\t0\tSouth\r\r\n"),
            1);
  EXPECT_EQ(Middle(),
            "Line 3 of the import file is not a filter row record and was passed over.\r\n"
            "Line 5 of the import file is not a filter row record and was passed over.\r\n" +
                Line(std::string(msg::FilterLeftUnchangedStart) + "F" +
                     std::string(msg::FilterLeftUnchangedEnd)));
  const auto* f = api.FindFilter("Ledger", "Actuals", "F");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->rows.size(), 1u);
  EXPECT_EQ(f->rows[0].text, "old");
  EXPECT_NE(api.FindFilter("Ledger", "Actuals", "G"), nullptr);
}

// The run log of an import pointed at a file of junk keeps to a bounded size.
class PassedOverLines : public BatchRun, public ::testing::WithParamInterface<uint64_t> {};

TEST_P(PassedOverLines, FirstHundredLoggedThenCounted) {
  const uint64_t junk = GetParam();
  std::string text;
  for (uint64_t i = 0; i < junk; ++i)
    text +=
        "\x01\x02"
        "binary\r\n";
  EXPECT_EQ(ImportText(text), 1);
  std::string expected;
  for (uint64_t i = 1; i <= std::min(junk, LoggedPassedOverLines); ++i)
    expected += Line(std::string(msg::LinePassedOverStart) + std::to_string(i) +
                     std::string(msg::LinePassedOverEnd));
  if (junk > LoggedPassedOverLines)
    expected +=
        Line(std::to_string(junk - LoggedPassedOverLines) + std::string(msg::MoreLinesPassedOver));
  EXPECT_EQ(Middle(), expected);
}

INSTANTIATE_TEST_SUITE_P(Counts, PassedOverLines, ::testing::Values(1, 100, 101, 5000));

TEST_F(BatchRun, EveryFailedCallOneLineImportGoesOn) {
  api.Fail("EsbSetFilter", ESB_STS_UNKNOWN_DATABASE);
  EXPECT_EQ(ImportText("a\tb\tF\t273\tEast\na\tb\tF\t275\tWest\na\tb\tG\t0\tx\n"), 1);
  // EsbSetFilter of F, then its two rows with nothing open; F is never closed.
  EXPECT_EQ(Middle(), Line(msg::ImportFailed) + Line(msg::ImportFailed) + Line(msg::ImportFailed) +
                          Line(std::string(msg::FilterLeftUnchangedStart) + "F" +
                               std::string(msg::FilterLeftUnchangedEnd)));
  EXPECT_EQ(api.FindFilter("Ledger", "Actuals", "F"), nullptr);
  EXPECT_NE(api.FindFilter("Ledger", "Actuals", "G"), nullptr);
}

TEST_F(BatchRun, RefusedClosingCallOfEmptyFileLogged) {
  api.Fail("EsbSetFilterRow", ESB_STS_STORE_FAILURE);
  EXPECT_EQ(ImportText("\r\n\r\n"), 1);
  EXPECT_EQ(Middle(), Line(msg::ImportFailed));
  EXPECT_EQ(api.CallsText("EsbSetFilterRow"), "EsbSetFilterRow(null,375)\n");
}

TEST_F(BatchRun, ImportReloginStatusNoRelogin) {
  // One failed row, not the ended session's failed close, is the point here.
  api.reloginEndsSession = false;
  api.Fail("EsbSetFilterRow", essbase::ReloginStatus);
  EXPECT_EQ(ImportText("a\tb\tF\t273\tEast\n"), 1);
  EXPECT_EQ(Middle(),
            Line(msg::ImportFailed) + Line(std::string(msg::FilterLeftUnchangedStart) + "F" +
                                           std::string(msg::FilterLeftUnchangedEnd)));
  EXPECT_EQ(api.CountCalls("EsbLogin"), 1);
  EXPECT_EQ(api.CountCalls("EsbSetFilterRow"), 1);
}

}  // namespace
}  // namespace cli
