// Runs the built QuorvelCL against the simulated server: every test has its
// own copy of the program and library (so its own Log.txt) and its own store.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/Messages.h"
#include "essbase/Constants.h"
#include "essbase/library/esbapin.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/cli/SimulatedRun.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

const char* const Header =
    "server\tessdemo\n"
    "user\tdemo\tdemo\t275\n"
    "app\tFin\tloaded\n"
    "db\tFin\tPlan\n"
    "db\tFin\tCopy\n";

const char* const PlanFilters =
    "filter\tFin\tPlan\tReadEast\t0\t273\n"
    "row\t273\t@IDESCENDANTS(\"East\")\n"
    "row\t275\t\"West\",\t\"Budget\"\n"
    "filter\tFin\tPlan\tNoRows\t1\t375\n"
    "filter\tFin\tPlan\tNameThatFillsAllThirtyChars_30\t1\t375\n"
    "row\t0\tBudget\n";

const char* const PlanExport =
    "Fin\tPlan\tReadEast\t273\t@IDESCENDANTS(\"East\")\r\r\n"
    "Fin\tPlan\tReadEast\t275\t\"West\",\t\"Budget\"\r\r\n"
    "Fin\tPlan\tNameThatFillsAllThirtyChars_30\t0\tBudget\r\r\n";

using QuorvelCLRun = testing::SimulatedRun;

TEST_F(QuorvelCLRun, ExportWritesExactBytes) {
  Load(std::string(Header) + PlanFilters);
  const std::string file = dir / "plan.txt";
  EXPECT_EQ(Export("Plan", file), 0);
  EXPECT_EQ(testing::ReadFile(file), PlanExport);
  EXPECT_EQ(Log(), Block("Plan", file, "export", ""));
}

TEST_F(QuorvelCLRun, ImportDefinesFiltersInCommandLineDatabase) {
  Load(std::string(Header) +
       "filter\tFin\tCopy\tKeep\t0\t273\nrow\t273\tx\n"
       "filter\tFin\tCopy\tReadEast\t0\t0\nrow\t0\told\n");
  testing::WriteFile(dir / "in.txt",
                     "Else\tWhere\tReadEast\t273\t@IDESCENDANTS(\"East\")\r\r\n"
                     "Else\tWhere\tReadEast\t275\t\"West\",\t\"Budget\"\r\r\n\n"
                     "Else\tWhere\tNew\t-1\tlast line without end");
  EXPECT_EQ(Import("Copy", dir / "in.txt"), 0);
  EXPECT_EQ(Dump(), std::string(Header) +
                        "filter\tFin\tCopy\tKeep\t0\t273\nrow\t273\tx\n"
                        "filter\tFin\tCopy\tReadEast\t1\t375\n"
                        "row\t273\t@IDESCENDANTS(\"East\")\n"
                        "row\t275\t\"West\",\t\"Budget\"\n"
                        "filter\tFin\tCopy\tNew\t1\t375\nrow\t-1\tlast line without end\n");
  EXPECT_EQ(Log(), Block("Copy", dir / "in.txt", "import", ""));
}

// An endless file is one endless line: the run ends at once, writing nothing.
TEST_F(QuorvelCLRun, ImportOfAnEndlessDeviceFailsAndWritesNothing) {
  Load(std::string(Header) + PlanFilters);
  const std::string before = Dump();
  EXPECT_EQ(Import("Plan", "/dev/zero"), 1);
  EXPECT_EQ(Dump(), before);
  EXPECT_EQ(Log(), Block("Plan", "/dev/zero", "import",
                         std::string(msg::NoBackupBeforeImport) + msg::ImportLineTooLong(1) +
                             "\r\n"));
}

TEST_F(QuorvelCLRun, ExportThenImportRoundTripsEveryFilterWithRows) {
  Load(std::string(Header) + PlanFilters);
  ASSERT_EQ(Export("Plan", dir / "plan.txt"), 0);
  ASSERT_EQ(Import("Copy", dir / "plan.txt"), 0);
  ASSERT_EQ(Export("Copy", dir / "copy.txt"), 0);
  std::string expected = PlanExport;
  for (size_t at; (at = expected.find("\tPlan\t")) != std::string::npos;)
    expected.replace(at, 6, "\tCopy\t");
  EXPECT_EQ(testing::ReadFile(dir / "copy.txt"), expected);
}

TEST_F(QuorvelCLRun, RefusedRowFailsExportKeepsEarlierRecords) {
  Load(std::string(Header) + PlanFilters + "fault\tEsbGetFilterRow\t1030030\t1\t1\n");
  EXPECT_EQ(Export("Plan", dir / "plan.txt"), 1);
  EXPECT_EQ(testing::ReadFile(dir / "plan.txt"),
            "Fin\tPlan\tReadEast\t273\t@IDESCENDANTS(\"East\")\r\r\n");
  EXPECT_EQ(Log(),
            Block("Plan", dir / "plan.txt", "export", std::string(msg::ExportFailed) + "\r\n"));
}

TEST_F(QuorvelCLRun, RefusedListingFailsExport) {
  Load(std::string(Header) + PlanFilters + "fault\tEsbListFilters\t1030030\t0\t1\n");
  EXPECT_EQ(Export("Plan", dir / "plan.txt"), 1);
  EXPECT_EQ(testing::ReadFile(dir / "plan.txt"), "");
  EXPECT_EQ(Log(),
            Block("Plan", dir / "plan.txt", "export", std::string(msg::ExportFailed) + "\r\n"));
}

std::string LeftUnchanged(const std::string& filter) {
  return std::string(msg::FilterLeftUnchangedStart) + filter +
         std::string(msg::FilterLeftUnchangedEnd) + "\r\n";
}

TEST_F(QuorvelCLRun, ReloginStatusFailsLikeAnyOther) {
  Load(std::string(Header) + "fault\tEsbSetFilterRow\t1051021\t1\t1\n");
  testing::WriteFile(dir / "in.txt", "a\tb\tF\t1\tr1\na\tb\tF\t1\tr2\na\tb\tG\t1\tr3\n");
  EXPECT_EQ(Import("Copy", dir / "in.txt"), 1);
  // The dropped session fails every later call: r2, G, r3; neither is closed.
  const std::string failed = std::string(msg::ImportFailed) + "\r\n";
  EXPECT_EQ(Log(), Block("Copy", dir / "in.txt", "import",
                         failed + LeftUnchanged("F") + failed + failed + LeftUnchanged("G")));
  EXPECT_EQ(Dump(), Header);
}

TEST_F(QuorvelCLRun, RowOfServerMaximumExportsWholeAndImportsBack) {
  const std::string longest(essbase::MaxRowLength, 'L');
  Load(std::string(Header) + "filter\tFin\tPlan\tA\t1\t375\nrow\t1\tshort\n" +
       "filter\tFin\tPlan\tLong\t1\t375\nrow\t1\t" + std::string(512, 'M') + "\nrow\t0\t" +
       longest + "\nrow\t273\tafter\n");
  EXPECT_EQ(Export("Plan", dir / "plan.txt"), 0);
  EXPECT_EQ(testing::ReadFile(dir / "plan.txt"),
            "Fin\tPlan\tA\t1\tshort\r\r\n"
            "Fin\tPlan\tLong\t1\t" +
                std::string(512, 'M') +
                "\r\r\n"
                "Fin\tPlan\tLong\t0\t" +
                longest +
                "\r\r\n"
                "Fin\tPlan\tLong\t273\tafter\r\r\n");
  EXPECT_EQ(Log(), Block("Plan", dir / "plan.txt", "export", ""));
  EXPECT_EQ(Import("Copy", dir / "plan.txt"), 0);
  const std::string dump = Dump();
  EXPECT_NE(dump.find("filter\tFin\tCopy\tLong\t1\t375\nrow\t1\t" + std::string(512, 'M') +
                      "\nrow\t0\t" + longest + "\nrow\t273\tafter\n"),
            std::string::npos);
}

// A line lost in the middle of a filter, or at its last row, leaves the
// store's definition of that filter as it was; the others are imported.
class LostLineEndToEnd : public QuorvelCLRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(LostLineEndToEnd, DumpShowsOldDefinitionAndOthersImported) {
  Load(std::string(Header) + "filter\tFin\tCopy\tRestrict\t1\t375\nrow\t0\told\n");
  testing::WriteFile(dir / "in.txt", GetParam());
  EXPECT_EQ(Import("Copy", dir / "in.txt"), 1);
  EXPECT_EQ(Dump(), std::string(Header) +
                        "filter\tFin\tCopy\tRestrict\t1\t375\nrow\t0\told\n"
                        "filter\tFin\tCopy\tOther\t1\t375\nrow\t273\to\n");
  EXPECT_NE(Log().find(LeftUnchanged("Restrict")), std::string::npos);
  EXPECT_EQ(Log().find(LeftUnchanged("Other")), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, LostLineEndToEnd,
    ::testing::Values("x\ty\tRestrict\t275\tWest\nx\ty\tRestrict\t99999\tEast\n"
                      "x\ty\tRestrict\t275\tNorth\nx\ty\tOther\t273\to\n",
                      "x\ty\tRestrict\t275\tWest\nx\ty\tRestrict\tNone\tEast\n"
                      "x\ty\tOther\t273\to\n",
                      "x\ty\tOther\t273\to\nx\ty\tRestrict\t275\tWest\nx\ty\tRestrict\t0\n"));

TEST_F(QuorvelCLRun, RefusedEmptyRowLeavesFilterUnchanged) {
  // The server refuses an empty row; the filter would otherwise lose its None row.
  Load(std::string(Header) + "filter\tFin\tCopy\tRestrict\t1\t375\nrow\t0\told\n");
  testing::WriteFile(dir / "in.txt", "x\ty\tRestrict\t275\tWest\nx\ty\tRestrict\t0\t\n");
  EXPECT_EQ(Import("Copy", dir / "in.txt"), 1);
  EXPECT_EQ(Dump(), std::string(Header) + "filter\tFin\tCopy\tRestrict\t1\t375\nrow\t0\told\n");
  EXPECT_EQ(Log(), Block("Copy", dir / "in.txt", "import",
                         std::string(msg::ImportFailed) + "\r\n" + LeftUnchanged("Restrict")));
}

TEST_F(QuorvelCLRun, NamesWithTrailingBlanksImportAsOneFilter) {
  Load(Header);
  testing::WriteFile(dir / "in.txt", "x\ty\tTb\t273\tfirst\nx\ty\tTb \t0\tsecond\n");
  EXPECT_EQ(Import("Copy", dir / "in.txt"), 0);
  EXPECT_EQ(Dump(), std::string(Header) +
                        "filter\tFin\tCopy\tTb\t1\t375\nrow\t273\tfirst\n"
                        "row\t0\tsecond\n");
}

TEST_F(QuorvelCLRun, WrongPasswordLogsLoginStatus) {
  Load(Header);
  EXPECT_EQ(Run({"-s", "essdemo", "-a", "Fin", "-d", "Plan", "-i", "demo", "-p", "nope", "-f", "x",
                 "-t", "export"}),
            1);
  EXPECT_EQ(Log(),
            "//DATE\r\n//-s essdemo -a Fin -d Plan -i demo -p ******** -f x -t export\r\n"
            "A successfull login did not occur. Error:  " +
                std::to_string(ESB_STS_BAD_LOGIN) + "\r\n\r\n");
}

TEST_F(QuorvelCLRun, RunsAppendBlocksToOneLog) {
  Load(Header);
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(Run({"-s"}), 1);
  const std::string block =
      std::string("//DATE\r\n//\r\n") + std::string(msg::NoServer) + "\r\n\r\n";
  EXPECT_EQ(Log(), block + "//DATE\r\n//-s\r\n" + std::string(msg::NoServer) + "\r\n\r\n");
}

TEST_F(QuorvelCLRun, ImportFileMissingStillLogsOut) {
  Load(Header);
  EXPECT_EQ(Import("Copy", dir / "absent.txt"), 1);
  EXPECT_EQ(Log(), Block("Copy", dir / "absent.txt", "import",
                         std::string(msg::ImportFileNotOpened) + (dir / "absent.txt") + "\r\n"));
}

TEST_F(QuorvelCLRun, InheritedStoreNeverUsed) {
  Load(std::string(Header) + PlanFilters);
  const std::string decoy = dir / "inherited.db";
  setenv("ESBSIM_STORE", decoy.c_str(), 1);
  const int status = Export("Plan", dir / "plan.txt");
  unsetenv("ESBSIM_STORE");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(testing::ReadFile(dir / "plan.txt"), PlanExport);
  EXPECT_FALSE(fs::exists(decoy));
}

TEST_F(QuorvelCLRun, LibraryMissingMeansInitFailure) {
  fs::remove(dir / "libesbapin.so");
  EXPECT_EQ(Export("Plan", dir / "x.txt"), 1);
  EXPECT_EQ(Log(), Block("Plan", dir / "x.txt", "export", std::string(msg::InitFailed) + "\r\n"));
}

}  // namespace
}  // namespace cli
