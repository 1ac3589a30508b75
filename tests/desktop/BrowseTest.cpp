#include "desktop/Messages.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

using essbase::ReloginStatus;

class BrowseTest : public DesktopTest {
 protected:
  void SetUp() override { StartAndLogin(); }
};

TEST_F(BrowseTest, DatabaseClickListsItsFiltersAllTickedAndEnablesCommands) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  EXPECT_EQ(fake.calls.back().text(), "EsbGetNextItem(12,30)");
  EXPECT_EQ(fake.CallsText("EsbListFilters"), "EsbListFilters(Sample,Basic)\n");
  EXPECT_EQ(form.filters().Dump(),
            "1|_ReadAll|ReadAll|0|3|4|x\n"
            "2|_NoEast|NoEast|0|3|4|x\n"
            "3|_WriteWest|WriteWest|0|3|4|x\n");
  EXPECT_EQ(form.menus(), Menus(true, true, true, true));
  EXPECT_TRUE(form.filters().Enabled());
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(BrowseTest, NextDatabaseReplacesTheList) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  form.tree_NodeClick(Node("Db:Demo-Basic"));
  EXPECT_EQ(form.filters().Dump(), "1|_DemoRead|DemoRead|0|3|4|x\n");
}

TEST_F(BrowseTest, DatabaseWithoutFiltersStillEnablesCommands) {
  form.tree_NodeClick(Node("Db:Sample-Interim"));
  EXPECT_EQ(form.filters().Count(), 0);
  EXPECT_EQ(form.menus(), Menus(true, true, true, true));
  EXPECT_TRUE(form.filters().Enabled());
}

TEST_F(BrowseTest, ApplicationClickDisablesCommandsButListKeepsFilters) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  const std::string filters = form.filters().Dump();
  fake.ClearCalls();
  form.tree_NodeClick(Node("App:Demo"));
  EXPECT_EQ(form.menus(), Menus(false, false, false, false));
  EXPECT_FALSE(form.filters().Enabled());
  EXPECT_EQ(form.filters().Dump(), filters);
  EXPECT_EQ(fake.CallsText(), "");
}

TEST_F(BrowseTest, MarkedDatabaseIsListedToo) {
  form.tree_NodeClick(Node("Db:Demo-Basic"));
  form.tree_DblClick();
  form.tree_NodeClick(Node("Db:Demo-Basic"));
  EXPECT_EQ(form.filters().Count(), 1);
}

TEST_F(BrowseTest, ClickInAllDatabasesModeCallsNothingButSelects) {
  form.chkAll_Click(1);
  fake.ClearCalls();
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  EXPECT_EQ(fake.CallsText(), "");
  EXPECT_EQ(form.filters().Count(), 0);
  EXPECT_EQ(form.tree().Selected(), Node("Db:Sample-Basic"));
}

TEST_F(BrowseTest, ThirtyCharacterFilterNameShownWhole) {
  const std::string name(30, 'F');
  fake.AddFilter("Demo", "Basic", name);
  form.tree_NodeClick(Node("Db:Demo-Basic"));
  EXPECT_EQ(form.filters().Text(2), name);
  EXPECT_EQ(form.filters().Key(2), "_" + name);
}

class ListingFailureTest : public BrowseTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(ListingFailureTest, StatusReportedListEmptyMenusKept) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  form.tree_NodeClick(Node("App:Demo"));  // menus now disabled, list kept
  port.ClearLog();
  fake.Fail("EsbListFilters", GetParam());
  form.tree_NodeClick(Node("Db:Demo-Basic"));
  EXPECT_EQ(port.LogText(), "ShowMessage(Critical,Quorvel,An error (" + std::to_string(GetParam()) +
                                ") has occured accessing the filters.)\n");
  EXPECT_EQ(form.filters().Count(), 0);
  EXPECT_EQ(form.menus(), Menus(false, false, false, false));
  EXPECT_FALSE(form.filters().Enabled());
}

INSTANTIATE_TEST_SUITE_P(Statuses, ListingFailureTest, ::testing::Values(1051031, 1030030, -5));

TEST_F(BrowseTest, ItemFailureMidListingReportedNotShownAsPartialList) {
  fake.Fail("EsbGetNextItem", 1030020, 0, 1);
  fake.ClearCalls();
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{msg::FilterListFailed(1030020)});
  EXPECT_EQ(form.filters().Count(), 0);
}

TEST_F(BrowseTest, ReloginShowsPromptAgainAndRepeatsListingOnceWithNewContext) {
  const essbase::Handle oldContext = form.connection().ContextHandle;
  fake.Fail("EsbListFilters", ReloginStatus);
  fake.loginAnswers.push_back({0, "srv", "bob", "pw2"});
  std::vector<bool> busyAtListing;
  fake.onCall = [&](const essbase::testing::FakeCall& c) {
    if (c.name == "EsbListFilters") busyAtListing.push_back(port.busy);
  };
  fake.ClearCalls();
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  EXPECT_EQ(fake.CallsText("EsbListFilters"),
            "EsbListFilters(Sample,Basic)\nEsbListFilters(Sample,Basic)\n");
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 1);
  EXPECT_EQ(fake.calls.front().context, oldContext);
  EXPECT_NE(form.connection().ContextHandle, oldContext);
  EXPECT_EQ(fake.calls.back().context, form.connection().ContextHandle);
  // The hourglass is back for the repeated call.
  EXPECT_EQ(busyAtListing, (std::vector<bool>{false, true}));
  EXPECT_EQ(form.connection().User, "bob");
  EXPECT_EQ(form.filters().Count(), 3);
  EXPECT_EQ(form.menus(), Menus(true, true, true, true));
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(BrowseTest, ReloginDoesNotLeaveTheHourglassBehind) {
  fake.Fail("EsbListFilters", ReloginStatus);
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  EXPECT_FALSE(port.busy);
  EXPECT_FALSE(form.busy());
}

TEST_F(BrowseTest, FailedReloginShowsLoginMessageThenRepeatedCallsStatus) {
  fake.Fail("EsbListFilters", ReloginStatus, 0, 2);
  fake.loginAnswers.push_back({1051293});
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  EXPECT_EQ(fake.CountCalls("EsbListFilters"), 2);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{std::string(msg::LoginFailed),
                                                      msg::FilterListFailed(ReloginStatus)}));
  EXPECT_EQ(form.filters().Count(), 0);
}

TEST_F(BrowseTest, CancelledReloginStillRepeatsTheCallOnce) {
  // The repeat's own outcome is not the point here: let the old context live.
  fake.reloginEndsSession = false;
  fake.Fail("EsbListFilters", ReloginStatus, 0, 1);
  fake.loginAnswers.push_back({1});
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  EXPECT_EQ(fake.CountCalls("EsbListFilters"), 2);
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(form.filters().Count(), 3);
}

}  // namespace
}  // namespace desktop::testing
