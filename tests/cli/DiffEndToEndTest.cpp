// -t diff of the built QuorvelCL on the simulated server: against the file
// just imported, after the server drifted, and against the backup an import
// left, before and after its restore.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/CliTestSupport.h"
#include "tests/cli/SimulatedRun.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

const char* const Server =
    "server\tessdemo\n"
    "user\tdemo\tdemo\t275\n"
    "app\tFin\tloaded\n"
    "db\tFin\tPlan\n"
    "filter\tFin\tPlan\tReadEast\t0\t273\n"
    "row\t273\t@IDESCENDANTS(\"East\")\n"
    "db\tFin\tCopy\n";

const char* const File =
    "x\ty\tReadEast\t275\t@IDESCENDANTS(\"East\")\r\r\n"
    "x\ty\tReadEast\t0\tBudget\r\r\n"
    "x\ty\tNew\t273\tnew\r\r\n";

class DiffRun : public testing::SimulatedRun {
 protected:
  // A run with a state folder of the test's own, where backups go.
  int Run(const std::string& db, const std::string& file, const std::string& op) {
    return testing::RunProgram(
               dir / "QuorvelCL",
               {"-s", "essdemo", "-a", "Fin", "-d", db, "-i", "demo", "-p", "demo", "-f", file,
                "-t", op},
               {"ESBSIM_STORE=" + (dir / "store.db"), "XDG_STATE_HOME=" + (dir / "state")},
               dir / "console.txt")
        .status;
  }
  // The run log's lines since the last call.
  std::string NewLines() {
    const std::string log = testing::ReadFile(dir / "Log.txt");
    const std::string lines = log.substr(seen);
    seen = log.size();
    return lines;
  }
  size_t seen = 0;
};

TEST_F(DiffRun, ImportedFileDiffsCleanAndADriftedRowIsNamed) {
  Load(Server);
  testing::WriteFile(dir / "in.txt", File);
  ASSERT_EQ(Run("Copy", dir / "in.txt", "import"), 0);
  NewLines();
  EXPECT_EQ(Run("Copy", dir / "in.txt", "diff"), 0);
  EXPECT_NE(NewLines().find(": would be replaced 0, would be created 0, would be deleted 0, only "
                            "on the server 0, not read whole 0, the same 2\r\n"),
            std::string::npos);

  std::string dump = Dump();
  dump.replace(dump.find("row\t0\tBudget"), 12, "row\t0\tActual");
  Load(dump);
  EXPECT_EQ(Run("Copy", dir / "in.txt", "diff"), 2);
  const std::string lines = NewLines();
  EXPECT_NE(lines.find("\r\nThe filter Fin/Copy/ReadEast would be replaced: rows added 1, rows "
                       "removed 1.\r\n"),
            std::string::npos)
      << lines;
  EXPECT_EQ(lines.find("New"), std::string::npos) << lines;
  EXPECT_EQ(Dump(), dump);  // a diff writes nothing
  // A file that cannot be read is a failure, not a difference.
  EXPECT_EQ(Run("Copy", dir / "none.txt", "diff"), 1);
  EXPECT_NE(NewLines().find("The file to compare could not be opened: "), std::string::npos);
}

TEST_F(DiffRun, BackupDiffShowsWhatARestoreWouldUndoAndNothingOnceRestored) {
  Load(Server);
  testing::WriteFile(dir / "in.txt", File);
  ASSERT_EQ(Run("Plan", dir / "in.txt", "import"), 0);
  std::string backup;
  for (const auto& e : fs::directory_iterator(dir / "state/quorvel/backups"))
    if (e.path().extension() == ".txt") backup = e.path().string();
  ASSERT_FALSE(backup.empty());
  NewLines();
  EXPECT_EQ(Run("Plan", backup, "diff"), 2);
  const std::string lines = NewLines();
  EXPECT_NE(lines.find("\r\nThe filter Fin/Plan/ReadEast would be replaced: rows removed 1, "
                       "rows with another access 1, active 1 -> 0, access 375 -> 273.\r\n"
                       "The filter Fin/Plan/New would be deleted.\r\n"),
            std::string::npos)
      << lines;
  ASSERT_EQ(Run("Plan", backup, "restore"), 0);
  EXPECT_EQ(Run("Plan", backup, "diff"), 0) << NewLines();
}

// A read that fails ends the comparison with its status; an ended login is
// made again once, with the run's own credentials, for a whole filter.
TEST_F(DiffRun, FailedReadLogsItsStatusAndAnEndedLoginIsMadeAgainOnce) {
  Load(std::string(Server) + "fault\tEsbGetFilterRow\t1030030\t0\t1\n");
  testing::WriteFile(dir / "in.txt", File);
  EXPECT_EQ(Run("Plan", dir / "in.txt", "diff"), 1);
  EXPECT_NE(NewLines().find("\r\nAn error (1030030) has occured accessing the filters.  The "
                            "comparison is not complete.\r\n"),
            std::string::npos);
  Load(std::string(Server) + "fault\tEsbGetFilterRow\t1051021\t0\t1\n");
  EXPECT_EQ(Run("Plan", dir / "in.txt", "diff"), 2);
  EXPECT_EQ(NewLines().find("An error"), std::string::npos);
}

}  // namespace
}  // namespace cli
