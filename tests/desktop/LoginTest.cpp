#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

using essbase::testing::FakeLoginAnswer;

class LoginTest : public DesktopTest {};

TEST_F(LoginTest, TreeHoldsApplicationsThenTheirDatabases) {
  StartAndLogin();
  EXPECT_EQ(form.tree().Dump(),
            "1|App:Sample|Sample|0|1|1|-\n"
            "2|App:Demo|Demo|0|1|1|-\n"
            "3|App:Empty|Empty|0|1|1|-\n"
            "4|Db:Sample-Basic|Basic|1|3|0|-\n"
            "5|Db:Sample-Interim|Interim|1|3|0|-\n"
            "6|Db:Demo-Basic|Basic|2|3|0|-\n");
  EXPECT_EQ(form.filters().Count(), 0);
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(LoginTest, HourglassWhileTheTreeFillsNormalAfter) {
  AddSampleServer();
  std::vector<bool> busyDuringListing;
  fake.onCall = [&](const essbase::testing::FakeCall& c) {
    if (c.name == "EsbListApplications" || c.name == "EsbListDatabases")
      busyDuringListing.push_back(port.busy);
  };
  form.mnuLogin_Click();
  EXPECT_EQ(busyDuringListing, std::vector<bool>(4, true));
  EXPECT_FALSE(port.busy);
  EXPECT_FALSE(form.busy());
}

TEST_F(LoginTest, LoginTwiceInitialisesTwiceAndSecondTreeReplacesFirst) {
  StartAndLogin();
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  fake.applications.clear();
  fake.AddDatabase("Other", "Db1");
  form.mnuLogin_Click();
  EXPECT_EQ(fake.CountCalls("EsbInit"), 2);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 2);
  EXPECT_EQ(form.tree().Dump(),
            "1|App:Other|Other|0|1|1|-\n"
            "2|Db:Other-Db1|Db1|1|3|0|-\n");
  EXPECT_EQ(form.filters().Count(), 0);
}

struct FailedLogin {
  int32_t status;
  bool message;
};

class LoginFailureTest : public DesktopTest, public ::testing::WithParamInterface<FailedLogin> {};

TEST_P(LoginFailureTest, ListsUnchangedMessageOnlyForRealFailures) {
  StartAndLogin();
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  const std::string tree = form.tree().Dump(), filters = form.filters().Dump();
  const MenuStates menus = form.menus();
  port.ClearLog();
  fake.loginAnswers.push_back({GetParam().status});
  form.mnuLogin_Click();
  EXPECT_EQ(form.tree().Dump(), tree);
  EXPECT_EQ(form.filters().Dump(), filters);
  EXPECT_EQ(form.menus(), menus);
  if (GetParam().message) {
    EXPECT_EQ(port.LogText(),
              "ShowMessage(Critical,Vuzuvaz Orezez,An error occured and you are not logged in.)\n");
    EXPECT_EQ(port.messages.at(0).buttons, MessageButtons::OK);
  } else {
    EXPECT_EQ(port.LogText(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Statuses, LoginFailureTest,
                         ::testing::Values(FailedLogin{1, false}, FailedLogin{1051293, true},
                                           FailedLogin{1042006, true}, FailedLogin{-1, true}));

TEST_F(LoginTest, LoginChangesNoMenuState) {
  AddSampleServer();
  form.Form_Load();
  form.mnuLogin_Click();
  EXPECT_EQ(form.menus(), Menus(false, false, false, false));
  EXPECT_FALSE(form.filters().Enabled());
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  form.mnuLogin_Click();
  EXPECT_EQ(form.menus(), Menus(true, true, true, true));
  EXPECT_TRUE(form.filters().Enabled());
}

TEST_F(LoginTest, UserOfferedAgainAtNextLoginServerBlank) {
  fake.loginAnswers.push_back({0, "srv", "alice", "pw1"});
  fake.loginAnswers.push_back({1});
  form.mnuLogin_Click();
  form.mnuLogin_Click();
  EXPECT_EQ(fake.CallsText("EsbAutoLogin"), "EsbAutoLogin(" + std::string(30, ' ') + ",,,2)\n" +
                                                "EsbAutoLogin(" + std::string(30, ' ') +
                                                ",alice,pw1,2)\n");
}

TEST_F(LoginTest, FailingApplicationListingIsSilentAndAddsNothing) {
  AddSampleServer();
  fake.Fail("EsbListApplications", 1030030);
  form.mnuLogin_Click();
  EXPECT_EQ(form.tree().Count(), 0);
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(form.connection().Status, 1030030);
}

TEST_F(LoginTest, FailingDatabaseListingSkipsOnlyThatApplication) {
  AddSampleServer();
  fake.Fail("EsbListDatabases", 1051030);  // the first application's listing
  form.mnuLogin_Click();
  EXPECT_EQ(form.tree().Dump(),
            "1|App:Sample|Sample|0|1|1|-\n"
            "2|App:Demo|Demo|0|1|1|-\n"
            "3|App:Empty|Empty|0|1|1|-\n"
            "4|Db:Demo-Basic|Basic|2|3|0|-\n");
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(LoginTest, EightCharacterNamesShownWhole) {
  fake.AddDatabase("ABCDEFGH", "12345678");
  fake.AddDatabase("ABCDEFGH", "x");
  form.mnuLogin_Click();
  EXPECT_EQ(form.tree().Dump(),
            "1|App:ABCDEFGH|ABCDEFGH|0|1|1|-\n"
            "2|Db:ABCDEFGH-12345678|12345678|1|3|0|-\n"
            "3|Db:ABCDEFGH-x|x|1|3|0|-\n");
}

// "A-B" + "C" and "A" + "B-C" make the same node key; both databases are
// still shown, each under its own application.
TEST_F(LoginTest, DatabasesWhoseKeysCoincideAreBothShown) {
  fake.AddDatabase("A-B", "C");
  fake.AddDatabase("A", "B-C");
  form.mnuLogin_Click();
  ASSERT_EQ(form.tree().Count(), 4);
  EXPECT_EQ(form.tree().Text(3), "C");
  EXPECT_EQ(form.tree().Parent(3), 1);
  EXPECT_EQ(form.tree().Key(3), "Db:A-B-C");
  EXPECT_EQ(form.tree().Text(4), "B-C");
  EXPECT_EQ(form.tree().Parent(4), 2);
  EXPECT_EQ(form.tree().Image(4), ImageDatabase);
  form.tree_NodeClick(4);
  EXPECT_EQ(fake.CallsText("EsbListFilters"), "EsbListFilters(A,B-C)\n");
}

TEST_F(LoginTest, LogoutBeforeLoginUsesZeroContextAndEmptiesBothLists) {
  form.Form_Load();
  form.tree().Add("", "App:Left", "Left", 1, 1);
  form.filters().Add("", "_f", "f", 3, 4);
  form.mnuLogout_Click();
  EXPECT_EQ(fake.CallsText(), "EsbLogout(0)\n");
  EXPECT_EQ(form.tree().Count(), 0);
  EXPECT_EQ(form.filters().Count(), 0);
}

TEST_F(LoginTest, LogoutKeepsConnectionAndMenusAndIgnoresStatus) {
  StartAndLogin();
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  const auto before = form.connection();
  fake.Fail("EsbLogout", 1030014);
  form.mnuLogout_Click();
  EXPECT_EQ(fake.calls.back().text(), "EsbLogout(" + std::to_string(before.ContextHandle) + ")");
  EXPECT_EQ(form.connection().ContextHandle, before.ContextHandle);
  EXPECT_EQ(form.connection().User, before.User);
  EXPECT_EQ(form.connection().Status, before.Status);
  EXPECT_EQ(form.menus(), Menus(true, true, true, true));
  EXPECT_EQ(form.tree().Count(), 0);
  EXPECT_EQ(form.filters().Count(), 0);
  EXPECT_TRUE(port.messages.empty());
}

}  // namespace
}  // namespace desktop::testing
