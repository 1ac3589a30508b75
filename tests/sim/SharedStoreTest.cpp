// Several processes on one store: a commit is seen by the others at once.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "tests/sim/ConformanceFixture.h"
#include "tests/support/RunProgram.h"

namespace simtest {
namespace {

using namespace essbase;

int RunWriter(const std::vector<std::string>& args) {
  return support::RunCaptured(SIM_WRITER_PATH, args).status;
}

using SharedStore = Conformance;

TEST_P(SharedStore, FilterCommittedByAnotherProcessIsSeenAtOnce) {
  Handle c = Connect();
  ASSERT_EQ(FilterNames(c, "Sample", "Basic").size(), 3u);
  ASSERT_EQ(RunWriter({"Sample", "Basic", "Gamma", "1"}), 0);
  EXPECT_EQ(FilterNames(c, "Sample", "Basic"),
            (std::vector<std::string>{"Alpha", "Beta", "Empty", "Gamma0"}));
  EXPECT_EQ(ReadRows(c, "Sample", "Basic", "Gamma0"),
            (std::vector<Row>{{273, "\"Gamma0\""}, {275, "@IDESCENDANTS(\"East\")"}}));
}

TEST_P(SharedStore, OurCommitIsSeenByEsbsimAtOnce) {
  Handle c = Connect();
  Write(c, "Sample", "Spare", "Mine", {{275, "\"Mine\""}});
  const RunResult r = RunEsbsim({"dump", store_.path()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("filter\tSample\tSpare\tMine\t1\t375\nrow\t275\t\"Mine\"\n"),
            std::string::npos);
}

TEST_P(SharedStore, ContentReplacedByEsbsimIsSeenByOpenInstance) {
  Handle c = Connect();
  const std::string file =
      WriteFile(store_.dir(), "next.txt", "server\tsrv\nuser\tu\tpw\t275\napp\tOnly\tloaded\n");
  ASSERT_EQ(RunEsbsim({"load", store_.path(), file}).exitCode, 0);
  int16_t count = -1;
  ASSERT_EQ(api().EsbListApplications(c, count), 0);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(FieldText(Items(c, ItemApplicationName, 1)[0]), "Only");
}

// Two writers at once must both get through: the store waits for its lock
// instead of failing a commit.
TEST_P(SharedStore, ConcurrentWritersBothCommitEverything) {
  Handle c = Connect();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    execl(SIM_WRITER_PATH, SIM_WRITER_PATH, "Sample", "Spare", "Other", "150", nullptr);
    _exit(127);
  }
  for (int i = 0; i < 150; ++i)
    Write(c, "Sample", "Spare", ("Ours" + std::to_string(i)).c_str(), {{273, "x"}, {275, "y"}});
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const auto names = FilterNames(c, "Sample", "Spare");
  EXPECT_EQ(names.size(), 300u);
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& n) { return n.rfind("Other", 0) == 0; }),
            150);
  EXPECT_EQ(ReadRows(c, "Sample", "Spare", "Other149").size(), 2u);
}

SIM_EVERY_WAY(SharedStore);

}  // namespace
}  // namespace simtest
