// QuorvelCL import then restore on the simulated server: the store comes
// back byte for byte, including a filter the import created and one with its
// own active flag and access.
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
    "filter\tFin\tPlan\tNoRows\t0\t0\n"
    "filter\tFin\tPlan\tKeep\t1\t375\n"
    "row\t0\tBudget\n";

class RestoreRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(QUORVELCL_PATH, dir / "QuorvelCL");
    fs::copy_file(ESBAPIN_PATH, dir / "libesbapin.so");
    testing::WriteFile(dir / "server.txt", Server);
    ASSERT_EQ(testing::RunProgram(ESBSIM_PATH, {"load", dir / "store.db", dir / "server.txt"}, {},
                                  dir / "esbsim.out")
                  .status,
              0);
  }
  std::string Dump() {
    fs::remove(dir / "dump.txt");  // the runner appends
    testing::RunProgram(ESBSIM_PATH, {"dump", dir / "store.db"}, {}, dir / "dump.txt");
    return testing::ReadFile(dir / "dump.txt");
  }
  int Run(const std::string& op, const std::string& file, const std::string& backup = "on") {
    return testing::RunProgram(dir / "QuorvelCL",
                               {"-s", "essdemo", "-a", "Fin", "-d", "Plan", "-i", "demo", "-p",
                                "demo", "-f", file, "-t", op},
                               {"ESBSIM_STORE=" + (dir / "store.db"),
                                "XDG_STATE_HOME=" + (dir / "state"), "QUORVEL_BACKUP=" + backup},
                               dir / "console.txt")
        .status;
  }
  std::vector<std::string> Backups() {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir / "state/quorvel/backups", ec))
      if (e.path().extension() == ".txt") out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
  }
  testing::TempDir dir;
};

// "Keep " is the server's Keep: the server drops trailing blanks from names.
TEST_F(RestoreRun, ImportThenRestoreGivesTheStoreBackByteForByte) {
  const std::string before = Dump();
  testing::WriteFile(dir / "in.txt",
                     "x\ty\tReadEast\t275\tchanged\r\r\nx\ty\tNoRows\t1\tnow rows\r\r\n"
                     "x\ty\tCreated\t1\tnew\r\r\nx\ty\tKeep \t275\tchanged too\r\r\n");
  ASSERT_EQ(Run("import", dir / "in.txt"), 0) << testing::ReadFile(dir / "Log.txt");
  ASSERT_NE(Dump(), before);
  const std::vector<std::string> backups = Backups();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_NE(backups[0].find("_essdemo_import_Fin-Plan.txt"), std::string::npos);
  EXPECT_EQ(Run("restore", backups[0]), 0) << testing::ReadFile(dir / "Log.txt");
  EXPECT_EQ(Dump(), before);
  // The restore left its own backup, so it can be undone too.
  EXPECT_EQ(Backups().size(), 2u);
}

TEST_F(RestoreRun, NoBackupNoImport) {
  const std::string before = Dump();
  testing::WriteFile(dir / "state", "a file where the folder should be");
  testing::WriteFile(dir / "in.txt", "x\ty\tReadEast\t275\tchanged\r\r\n");
  EXPECT_EQ(Run("import", dir / "in.txt"), 1);
  EXPECT_EQ(Dump(), before);
  EXPECT_NE(testing::ReadFile(dir / "Log.txt").find("No backup could be made before the import"),
            std::string::npos);
}

TEST_F(RestoreRun, BackupOffImportsWithoutOne) {
  testing::WriteFile(dir / "in.txt", "x\ty\tReadEast\t275\tchanged\r\r\n");
  EXPECT_EQ(Run("import", dir / "in.txt", "OFF"), 0);
  EXPECT_TRUE(Backups().empty());
}

}  // namespace
}  // namespace cli
