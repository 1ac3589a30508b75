#include <gtest/gtest.h>

#include "cli/Driver.h"
#include "cli/Messages.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/FakeEssbaseApi.h"

namespace cli {
namespace {

using essbase::testing::FakeEssbaseApi;
using testing::FixedDateLine;

class DriverRun : public ::testing::Test {
 protected:
  DriverRun() {
    api.AddFilter("Finance", "Plan", "ReadEast", {{273, "East"}, {275, "West"}});
    api.AddFilter("Finance", "Plan", "NoBudget", {{0, "Budget"}});
    api.AddDatabase("Ledger", "Actuals");
  }
  int Run(const std::string& commandLine) { return RunDriver(api, log, clock, commandLine); }
  std::string Block(const std::string& commandLine, const std::string& middle) {
    return std::string(FixedDateLine) + "//" + commandLine + "\r\n" + middle + "\r\n";
  }
  std::string Line(std::string_view text) { return std::string(text) + "\r\n"; }
  std::string CommandLine(const std::string& operation, const std::string& file) {
    return "-s essdemo -a Finance -d Plan -i demo -p demo -f " + file + " -t " + operation;
  }

  FakeEssbaseApi api;
  testing::MemoryLog log;
  testing::FixedClock clock;
  testing::TempDir dir;
};

TEST_F(DriverRun, EmptyCommandLineLogsServerCheck) {
  EXPECT_EQ(Run(""), 1);
  EXPECT_EQ(log.bytes, Block("", Line(msg::NoServer)));
  EXPECT_TRUE(api.calls.empty());
}

struct CheckCase {
  const char* name;
  const char* commandLine;
  std::string_view message;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.name;
}

class FailedCheck : public DriverRun, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(FailedCheck, FirstFailingCheckOnlyNoApiCall) {
  EXPECT_EQ(Run(GetParam().commandLine), 1);
  EXPECT_EQ(log.bytes, Block(GetParam().commandLine, Line(GetParam().message)));
  EXPECT_TRUE(api.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Checks, FailedCheck,
    ::testing::Values(
        CheckCase{"Server", "-a A -d D -i U -p ******** -f F -t export", msg::NoServer},
        CheckCase{"SwitchFollowedBySwitch", "-s -a A -d D", msg::NoServer},
        CheckCase{"UpperCaseSwitch", "-S srv -a A -d D", msg::NoServer},
        CheckCase{"DatabaseBeforeApplication", "-s S -i U", msg::NoDatabase},
        CheckCase{"Application", "-s S -d D -i U -p ******** -f F -t export", msg::NoApplication},
        CheckCase{"UserName", "-s S -d D -a A -p ******** -f F -t export", msg::NoUserName},
        CheckCase{"FileBeforePassword", "-s S -d D -a A -i U -t export", msg::NoFile},
        CheckCase{"Password", "-s S -d D -a A -i U -f F -t export", msg::NoPassword},
        CheckCase{"BarePassword", "-s S -d D -a A -i U -f F -t export -p", msg::NoPassword},
        CheckCase{"Operation", "-s S -d D -a A -i U -p ******** -f F", msg::NoOperation},
        CheckCase{"BareOperationLast", "-s S -d D -a A -i U -p ******** -f F -t",
                  msg::NoOperation}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DriverRun, PasswordNeverLoggedInClear) {
  Run("-s S -p topsecret -d D");
  EXPECT_EQ(log.bytes.find("topsecret"), std::string::npos);
  EXPECT_EQ(log.bytes, Block("-s S -p ******** -d D", Line(msg::NoApplication)));
}

TEST_F(DriverRun, InitFailureNoLoginNoTerm) {
  api.Fail("EsbInit", ESB_STS_LIBRARY_UNAVAILABLE);
  const std::string cl = CommandLine("export", dir / "x.txt");
  EXPECT_EQ(Run(cl), 1);
  EXPECT_EQ(log.bytes, Block("-s essdemo -a Finance -d Plan -i demo -p ******** -f " +
                                 (dir / "x.txt") + " -t export",
                             Line(msg::InitFailed)));
  EXPECT_EQ(api.CallsText(), "EsbInit(0x60000)\n");
}

TEST_F(DriverRun, LoginFailureLogsStatusAfterTwoBlanks) {
  api.Fail("EsbLogin", ESB_STS_BAD_LOGIN);
  EXPECT_EQ(Run(CommandLine("export", dir / "x.txt")), 1);
  EXPECT_NE(log.bytes.find("\r\nA successfull login did not occur. Error:  1051293\r\n\r\n"),
            std::string::npos);
  EXPECT_EQ(api.CallsText(), "EsbInit(0x60000)\nEsbLogin(essdemo,demo,demo)\n");
}

TEST_F(DriverRun, InitRecordOfTheCommandLine) {
  Run(CommandLine("export", dir / "x.txt"));
  essbase::ApiInitRecord expected(0x60000, "C:\\");
  EXPECT_EQ(api.lastInitRecord,
            std::vector<uint8_t>(expected.bytes().begin(), expected.bytes().end()));
}

TEST_F(DriverRun, ExportRunsWholeSequenceAndSucceeds) {
  const std::string file = dir / "out.txt";
  EXPECT_EQ(Run(CommandLine("export", file)), 0);
  EXPECT_EQ(testing::ReadFile(file),
            "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
            "Finance\tPlan\tReadEast\t275\tWest\r\r\n"
            "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n");
  EXPECT_EQ(api.calls.front().text(), "EsbInit(0x60000)");
  EXPECT_EQ(api.calls[1].text(), "EsbLogin(essdemo,demo,demo)");
  EXPECT_EQ(api.calls[api.calls.size() - 2].name, "EsbLogout");
  EXPECT_EQ(api.calls[api.calls.size() - 2].context, api.calls[2].context);
  EXPECT_EQ(api.calls.back().text(), "EsbTerm(1)");
  EXPECT_EQ(api.CountCalls("EsbSetActive"), 0);
  EXPECT_EQ(
      log.bytes,
      Block("-s essdemo -a Finance -d Plan -i demo -p ******** -f " + file + " -t export", ""));
}

TEST_F(DriverRun, OperationWordInAnyCase) {
  EXPECT_EQ(Run(CommandLine("EXPORT", dir / "a.txt")), 0);
  EXPECT_EQ(api.CountCalls("EsbListFilters"), 1);
  testing::WriteFile(dir / "in.txt", "x\ty\tF\t1\tr\n");
  api.ClearCalls();
  EXPECT_EQ(Run("-s s -a Ledger -d Actuals -i u -p p -f " + (dir / "in.txt") + " -t Import"), 0);
  EXPECT_EQ(api.CountCalls("EsbSetFilter"), 1);
}

TEST_F(DriverRun, UnknownOperationLogsInAndOutSilently) {
  EXPECT_EQ(Run(CommandLine("exp", dir / "x.txt")), 1);
  EXPECT_EQ(api.CallsText(),
            "EsbInit(0x60000)\nEsbLogin(essdemo,demo,demo)\nEsbLogout(101)\nEsbTerm(1)\n");
  EXPECT_EQ(log.bytes, Block("-s essdemo -a Finance -d Plan -i demo -p ******** -f " +
                                 (dir / "x.txt") + " -t exp",
                             ""));
  EXPECT_FALSE(std::filesystem::exists(dir / "x.txt"));
}

TEST_F(DriverRun, UnwritableLogMakesNoApiCall) {
  log.failFromLine = 1;
  EXPECT_EQ(Run(CommandLine("export", dir / "x.txt")), 1);
  EXPECT_TRUE(api.calls.empty());
}

TEST_F(DriverRun, LogFailingDuringRunStillLogsOutAndFails) {
  api.Fail("EsbListFilters", ESB_STS_UNKNOWN_DATABASE);
  log.failFromLine = 2;
  EXPECT_EQ(Run(CommandLine("export", dir / "x.txt")), 1);
  EXPECT_EQ(api.CountCalls("EsbLogout"), 1);
  EXPECT_EQ(api.CountCalls("EsbTerm"), 1);
}

}  // namespace
}  // namespace cli
