// -t diff through the driver over the fake server: the exit status a
// scheduler reads and the run-log lines behind it.
#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "cli/Driver.h"
#include "cli/Messages.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/FakeEssbaseApi.h"

namespace cli {
namespace {

const char* const Plan =
    "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
    "Finance\tPlan\tReadEast\t275\tWest\r\r\n"
    "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n";

std::string Summary(int replaced, int created, int only, int unreadable, int same) {
  return std::string(msg::DiffSummaryStart) + "FILE: would be replaced " +
         std::to_string(replaced) + ", would be created " + std::to_string(created) +
         ", would be deleted 0, only on the server " + std::to_string(only) + ", not read whole " +
         std::to_string(unreadable) + ", the same " + std::to_string(same) + "\r\n";
}

struct DiffCase {
  const char* fault;
  const char* file;  // nullptr: no file
  bool listingFails;
  int status;
  // The run log's lines between the command line and the closing blank
  // line; FILE stands for the file's path.
  std::string lines;
};

class Diff : public ::testing::TestWithParam<DiffCase> {};

TEST_P(Diff, ExitStatusAndRunLog) {
  const DiffCase& c = GetParam();
  essbase::testing::FakeEssbaseApi api;
  api.AddFilter("Finance", "Plan", "ReadEast", {{273, "East"}, {275, "West"}});
  api.AddFilter("Finance", "Plan", "NoBudget", {{0, "Budget"}});
  if (c.listingFails) api.Fail("EsbListFilters", 1030030);
  testing::TempDir dir;
  const std::string file = dir / "plan.txt";
  if (c.file) testing::WriteFile(file, c.file);
  testing::MemoryLog log;
  testing::FixedClock clock;
  const std::string commandLine =
      "-s essdemo -a Finance -d Plan -i demo -p demo -f " + file + " -t Diff";
  EXPECT_EQ(RunDriver(api, log, clock, commandLine), c.status);
  std::string lines = c.lines;
  for (size_t at; (at = lines.find("FILE")) != std::string::npos;) lines.replace(at, 4, file);
  EXPECT_EQ(log.bytes, std::string(testing::FixedDateLine) + "//" + MaskPasswords(commandLine) +
                           "\r\n" + lines + "\r\n");
  EXPECT_EQ(api.CountCalls("EsbSetFilter") + api.CountCalls("EsbDeleteFilter"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Diff,
    ::testing::Values(
        DiffCase{"SameFileCountsAsDrift", Plan, false, 0, Summary(0, 0, 0, 0, 2)},
        DiffCase{"DriftCountsAsTheSame",
                 "x\ty\tReadEast\t273\tEast\r\r\nx\ty\tReadEast\t273\tWest\r\r\n"
                 "x\ty\tNew\t0\tn\r\r\n",
                 false, 2,
                 "The filter Finance/Plan/ReadEast would be replaced: rows with another access "
                 "1.\r\n"
                 "The filter Finance/Plan/NoBudget is only on the server (an import leaves it as "
                 "it is).\r\n"
                 "The filter Finance/Plan/New would be created, rows 1.\r\n" +
                     Summary(1, 1, 1, 0, 0)},
        DiffCase{"MissingFileCountsAsTheSame", nullptr, false, 1,
                 std::string(msg::DiffFileNotOpened) + "FILE\r\n"},
        DiffCase{"PassedOverLineGoesUnnoticed",
                 "Finance\tPlan\tReadEast\t273\tEast\r\r\nnot a record\r\n"
                 "Finance\tPlan\tReadEast\t275\tWest\r\r\n"
                 "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n",
                 false, 1,
                 "The filter Finance/Plan/ReadEast lost a line of the file; an import would "
                 "leave it as it is.\r\n"
                 "Line 3 of the import file is not a filter row record and was passed over.\r\n" +
                     Summary(0, 0, 0, 1, 1)},
        DiffCase{"RefusedListingCountsAsTheSame", Plan, true, 1,
                 std::string(msg::DiffServerFailed) + "\r\n"}),
    [](const auto& info) { return std::string(info.param.fault); });

}  // namespace
}  // namespace cli
