// The logic over the real library loader and the simulated server's library,
// on a store of its own made with esbsim.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

#include "essbase/library/LibraryApi.h"
#include "tests/desktop/DesktopFixture.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TestFiles.h"

namespace desktop::testing {
namespace {

std::vector<std::vector<std::string>> Records(const std::string& description, const char* kind) {
  std::vector<std::vector<std::string>> out;
  std::istringstream in(description);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::istringstream f(line);
    for (std::string field; std::getline(f, field, '\t');) fields.push_back(field);
    if (!fields.empty() && fields[0] == kind) out.push_back(fields);
  }
  return out;
}

struct Prompt {
  int shown = 0;
  std::string offeredUser;
  static int32_t Answer(void* self, char* server, char* user, char* password) {
    auto* p = static_cast<Prompt*>(self);
    ++p->shown;
    p->offeredUser = user;
    std::strcpy(server, "essdemo");
    std::strcpy(user, "demo");
    std::strcpy(password, "demo");
    return 0;
  }
};

class EndToEndTest : public ::testing::TestWithParam<essbase::Generation> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    store = dir / "server.db";
    const support::CapturedRun demo = support::RunCaptured(ESBSIM_PROGRAM, {"demo", store});
    ASSERT_EQ(demo.status, 0) << demo.err;
    setenv("ESBSIM_STORE", store.c_str(), 1);
    ASSERT_TRUE(api.loaded()) << api.loadError();
    ASSERT_TRUE(api.SetLoginPrompt(&Prompt::Answer, &prompt));
  }
  void TearDown() override { api.SetLoginPrompt(nullptr, nullptr); }
  std::string Dump() { return support::RunCaptured(ESBSIM_PROGRAM, {"dump", store}).out; }

  // The tree the server's description calls for: applications first, then
  // each application's databases.
  std::string ExpectedTree(const std::string& description) {
    std::string out;
    std::map<std::string, int> appIndex;
    int i = 0;
    for (const auto& r : Records(description, "app")) {
      appIndex[r.at(1)] = ++i;
      out += std::to_string(i) + "|App:" + r[1] + "|" + r[1] + "|0|1|1|-\n";
    }
    for (const auto& r : Records(description, "db"))
      out += std::to_string(++i) + "|Db:" + r.at(1) + "-" + r.at(2) + "|" + r[2] + "|" +
             std::to_string(appIndex.at(r[1])) + "|3|0|-\n";
    return out;
  }

  support::TempDir dir{"quorvel-desk"};
  std::string store;
  essbase::LibraryApi api;
  Prompt prompt;
  ScriptedPort port;
};

TEST_P(EndToEndTest, LoginShowsTheServersTreeAndADatabasesFilters) {
  frmQuorvel form(api, port, GetParam(), {dir / "backups"});
  form.Form_Load();
  form.mnuLogin_Click();
  ASSERT_EQ(form.connection().Status, 0);
  EXPECT_EQ(prompt.shown, 1);
  EXPECT_EQ(form.connection().Server, "essdemo");
  const std::string description = Dump();
  EXPECT_EQ(form.tree().Dump(), ExpectedTree(description));
  EXPECT_TRUE(port.messages.empty());

  form.tree_NodeClick(form.tree().Find("Db:Sample-Basic"));
  std::string expected;
  int i = 0;
  for (const auto& r : Records(description, "filter"))
    if (r.at(1) == "Sample" && r.at(2) == "Basic")
      expected += std::to_string(++i) + "|_" + r[3] + "|" + r[3] + "|0|3|4|x\n";
  EXPECT_GT(i, 0);
  EXPECT_EQ(form.filters().Dump(), expected);
  EXPECT_EQ(form.menus(), Menus(true, true, true, true));

  // The user is offered again (the simulated prompt fills a blank server itself).
  form.mnuLogin_Click();
  EXPECT_EQ(prompt.shown, 2);
  EXPECT_EQ(prompt.offeredUser, "demo");
  form.mnuLogout_Click();
  EXPECT_EQ(form.tree().Count(), 0);
}

TEST_P(EndToEndTest, DroppedSessionWhileListingLogsInAgainAndLists) {
  const std::string description = Dump() + "fault\tEsbListFilters\t1051021\t0\t1\n";
  ASSERT_EQ(support::RunCaptured(ESBSIM_PROGRAM, {"load", store, "-"}, description).status, 0);
  frmQuorvel form(api, port, GetParam(), {dir / "backups"});
  form.Form_Load();
  form.mnuLogin_Click();
  form.tree_NodeClick(form.tree().Find("Db:Demo-Basic"));
  EXPECT_EQ(prompt.shown, 2);
  EXPECT_TRUE(port.messages.empty());
  EXPECT_GT(form.filters().Count(), 0);
  EXPECT_FALSE(port.busy);
}

INSTANTIATE_TEST_SUITE_P(Generations, EndToEndTest,
                         ::testing::Values(essbase::Generation::V6, essbase::Generation::V5));

}  // namespace
}  // namespace desktop::testing
