// Every operation QuorvelCL calls fails once at every one of its call
// positions, with a plain failure status and with 1051021: the run ends with
// its log line and exit status, and after an import every filter is either
// as it was or complete. The positions are found by the sweep itself: a
// fault still armed after the run was never reached.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "cli/Messages.h"
#include "essbase/library/esbapin.h"
#include "tests/cli/SimulatedRun.h"

namespace cli {
namespace {

const char* const Server =
    "server\tessdemo\n"
    "user\tdemo\tdemo\t275\n"
    "app\tFin\tloaded\n"
    "db\tFin\tPlan\n"
    "db\tFin\tCopy\n"
    "filter\tFin\tPlan\tA\t1\t375\nrow\t273\ta1\nrow\t0\ta2\n"
    "filter\tFin\tPlan\tEmpty\t1\t375\n"
    "filter\tFin\tPlan\tB\t1\t375\nrow\t275\tb1\n"
    "filter\tFin\tCopy\tA\t0\t273\nrow\t0\told\n"
    "filter\tFin\tCopy\tKeep\t1\t375\nrow\t273\tk\n";

const char* const PlanExport =
    "Fin\tPlan\tA\t273\ta1\r\r\nFin\tPlan\tA\t0\ta2\r\r\nFin\tPlan\tB\t275\tb1\r\r\n";

// Copy's filters before the import and as the file defines them.
const std::map<std::string, std::string> Before = {
    {"A", "filter\tFin\tCopy\tA\t0\t273\nrow\t0\told\n"},
    {"Keep", "filter\tFin\tCopy\tKeep\t1\t375\nrow\t273\tk\n"}};
const std::map<std::string, std::string> Complete = {
    {"A", "filter\tFin\tCopy\tA\t1\t375\nrow\t273\ta1\nrow\t0\ta2\n"},
    {"B", "filter\tFin\tCopy\tB\t1\t375\nrow\t275\tb1\n"}};

enum class Direction { Export, Import };

struct Sweep {
  Direction direction;
  const char* operation;
};

class FaultSweep : public testing::SimulatedRun,
                   public ::testing::WithParamInterface<std::tuple<Sweep, int32_t>> {
 protected:
  std::string LeftUnchanged(const std::string& filter) {
    return std::string(msg::FilterLeftUnchangedStart) + filter +
           std::string(msg::FilterLeftUnchangedEnd) + "\r\n";
  }

  // The run log between the header lines and the closing empty line.
  std::string Middle(const std::string& file, const char* op) {
    const std::string log = Log();
    const std::string head =
        Block(sweep().direction == Direction::Export ? "Plan" : "Copy", file, op, "");
    const std::string start = head.substr(0, head.size() - 2);
    EXPECT_EQ(log.rfind(start, 0), 0u) << log;
    EXPECT_GE(log.size(), start.size() + 2);
    if (log.size() < start.size() + 2) return log;
    return log.substr(start.size(), log.size() - start.size() - 2);
  }

  const Sweep& sweep() { return std::get<0>(GetParam()); }
  int32_t status() { return std::get<1>(GetParam()); }

  // One run with the fault after `after` successful calls; false when the
  // fault was never reached.
  bool RunAt(int after) {
    SCOPED_TRACE("fault after " + std::to_string(after) + " successful calls");
    Load(std::string(Server) + "fault\t" + sweep().operation + "\t" + std::to_string(status()) +
         "\t" + std::to_string(after) + "\t1\n");
    std::filesystem::remove(dir / "Log.txt");
    const bool exporting = sweep().direction == Direction::Export;
    const std::string file = dir / (exporting ? "out.txt" : "in.txt");
    if (!exporting) testing::WriteFile(file, PlanExport);
    const int exit = exporting ? Export("Plan", file) : Import("Copy", file);
    const std::string dump = Dump();
    if (dump.find("\nfault\t") != std::string::npos) return false;

    const std::string op = sweep().operation;
    const std::string middle = Middle(file, exporting ? "export" : "import");
    if (op == "EsbLogout" || op == "EsbTerm") {
      // Their statuses are never reported; the work was done.
      EXPECT_EQ(exit, 0);
      EXPECT_EQ(middle, "");
    } else if (op == "EsbInit") {
      EXPECT_EQ(exit, 1);
      EXPECT_EQ(middle, std::string(msg::InitFailed) + "\r\n");
    } else if (op == "EsbLogin") {
      EXPECT_EQ(exit, 1);
      EXPECT_EQ(middle, std::string(msg::LoginFailed) + std::to_string(status()) + "\r\n");
    } else {
      EXPECT_EQ(exit, 1);
      EXPECT_NE(middle, "");
    }

    if (exporting) {
      const std::string written = testing::ReadFile(file);
      if (exit == 0) {
        EXPECT_EQ(written, PlanExport);
      }
      // A failed export keeps whole records written before the failure.
      EXPECT_EQ(std::string(PlanExport).rfind(written, 0), 0u) << written;
      if (exit != 0 && op != "EsbInit" && op != "EsbLogin") {
        EXPECT_EQ(middle, std::string(msg::ExportFailed) + "\r\n");
      }
      return true;
    }

    const auto filters = testing::DumpedFilters(dump, "Fin", "Copy");
    EXPECT_EQ(filters.at("Keep"), Before.at("Keep"));
    for (const auto& [name, complete] : Complete) {
      SCOPED_TRACE(name);
      const bool named = middle.find(LeftUnchanged(name)) != std::string::npos;
      const auto found = filters.find(name);
      const bool isComplete = found != filters.end() && found->second == complete;
      const bool asBefore = Before.count(name)
                                ? found != filters.end() && found->second == Before.at(name)
                                : found == filters.end();
      EXPECT_TRUE(isComplete || asBefore) << dump;
      // The log names exactly the filters that the run could not define.
      if (op != "EsbInit" && op != "EsbLogin") {
        EXPECT_EQ(named, !isComplete) << middle;
      }
    }
    // Every other line is the import's failure line.
    std::string rest = middle;
    for (const auto& [name, complete] : Complete)
      for (size_t at; (at = rest.find(LeftUnchanged(name))) != std::string::npos;)
        rest.erase(at, LeftUnchanged(name).size());
    if (op == "EsbSetFilter" || op == "EsbSetFilterRow") {
      for (size_t at;
           (at = rest.find(std::string(msg::ImportFailed) + "\r\n")) != std::string::npos;)
        rest.erase(at, msg::ImportFailed.size() + 2);
      EXPECT_EQ(rest, "");
    }
    return true;
  }
};

TEST_P(FaultSweep, EveryCallPosition) {
  int positions = 0;
  while (RunAt(positions) && !HasFatalFailure()) ++positions;
  RecordProperty("positions", positions);
  // Every operation of the table is called at least once by a run.
  EXPECT_GT(positions, 0);
}

std::string SweepName(const ::testing::TestParamInfo<std::tuple<Sweep, int32_t>>& info) {
  const Sweep& s = std::get<0>(info.param);
  return std::string(s.direction == Direction::Export ? "Export_" : "Import_") + s.operation + "_" +
         std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, FaultSweep,
    ::testing::Combine(
        ::testing::Values(
            Sweep{Direction::Export, "EsbInit"}, Sweep{Direction::Export, "EsbLogin"},
            Sweep{Direction::Export, "EsbListFilters"}, Sweep{Direction::Export, "EsbGetNextItem"},
            Sweep{Direction::Export, "EsbGetFilter"}, Sweep{Direction::Export, "EsbGetFilterRow"},
            Sweep{Direction::Export, "EsbLogout"}, Sweep{Direction::Export, "EsbTerm"},
            Sweep{Direction::Import, "EsbInit"}, Sweep{Direction::Import, "EsbLogin"},
            Sweep{Direction::Import, "EsbSetFilter"}, Sweep{Direction::Import, "EsbSetFilterRow"},
            Sweep{Direction::Import, "EsbLogout"}, Sweep{Direction::Import, "EsbTerm"}),
        ::testing::Values(ESB_STS_STORE_FAILURE, ESB_STS_RELOGIN)),
    SweepName);

}  // namespace
}  // namespace cli
