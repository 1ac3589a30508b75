// Change Access through the window: the dialog and its question, the mode
// chkAll chooses, the messages with their icons and buttons, the window held
// still while the run yields, progress, and Preview.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "desktop/ChangeCommand.h"
#include "desktop/Messages.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

using essbase::AccessNone;
using essbase::AccessRead;
using essbase::AccessWrite;

class ChangeCommand : public DesktopTest {
 protected:
  // Logged in, Sample/Basic chosen: ReadAll and NoEast have rows, WriteWest none.
  void SetUp() override {
    StartAndLogin();
    fake.FindFilter("Sample", "Basic", "ReadAll")->rows = {{AccessRead, "East"},
                                                           {AccessRead, "West"}};
    fake.FindFilter("Sample", "Basic", "NoEast")->rows = {{AccessNone, "Eastern"}};
    fake.FindFilter("Demo", "Basic", "DemoRead")->rows = {{AccessRead, "Market"}};
    form.tree_NodeClick(Node("Db:Sample-Basic"));
    ASSERT_EQ(form.filters().Count(), 3);
    fake.ClearCalls();
    port.ClearLog();
  }
  void Answer(std::string access, std::string search, bool changed = true, int previews = 0) {
    port.changeDialogScript.push_back({std::move(access), std::move(search), previews, changed});
  }
  void Mark(const std::string& key) {
    form.tree_NodeClick(Node(key));
    form.tree_DblClick();
  }
  std::string FilterRows(const std::string& app, const std::string& db, const std::string& name) {
    std::string out;
    for (const auto& r : fake.FindFilter(app, db, name)->rows)
      out += std::to_string(r.access) + ":" + r.text + "\n";
    return out;
  }
  bool Wrote() const {
    return fake.CountCalls("EsbSetFilter") + fake.CountCalls("EsbSetFilterRow");
  }
};

TEST_F(ChangeCommand, CancelInTheDialogAsksNothingAndChangesNothing) {
  Answer("Write", "east", false);
  form.mnuChange_Click();
  EXPECT_TRUE(port.messages.empty());
  EXPECT_TRUE(fake.calls.empty());
}

// A character 8-bit text cannot hold would reach the server as '?', which
// matches a literal '?': refused by name, back to the dialog, for Preview too.
TEST_F(ChangeCommand, SearchTextOutsideEightBitIsRefusedAndTheDialogComesBack) {
  port.changeDialogScript.push_back({"Write", "\xe2\x82\xacuro", 1, true});
  Answer("Write", "east", false);
  form.mnuChange_Click();
  const std::string refused = msg::SearchTextNotHeld(U'\u20AC', 1);
  EXPECT_NE(refused.find("U+20AC, character 1"), std::string::npos);
  ASSERT_EQ(port.messages.size(), 2u);  // once for Preview, once for Continue
  EXPECT_EQ(port.messages[0].text, refused);
  EXPECT_EQ(port.messages[1].text, refused);
  EXPECT_EQ(port.changeDialogShown.size(), 2u);
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(ChangeCommand, FirstUseOffersReadAndEmptySearchThenTheValuesLeftLastTime) {
  Answer("Write", "east");
  port.answers = {MessageAnswer::No};
  form.mnuChange_Click();
  Answer("None", "x", false);
  form.mnuChange_Click();
  ASSERT_EQ(port.changeDialogShown.size(), 2u);
  EXPECT_EQ(port.changeDialogShown[0].accessText, "Read");
  EXPECT_EQ(port.changeDialogShown[0].searchText, "");
  EXPECT_EQ(port.changeDialogShown[1].accessText, "Write");
  EXPECT_EQ(port.changeDialogShown[1].searchText, "east");
  // No to the question: asked once, nothing read or written.
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::ChangeQuestion);
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(port.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(ChangeCommand, TickedFiltersOfTheSelectedDatabaseChangeAndTheCountIsShown) {
  form.filters().SetChecked(2, false);  // NoEast
  Answer("Write", "EAST");
  form.mnuChange_Click();
  EXPECT_EQ(FilterRows("Sample", "Basic", "ReadAll"), "275:East\n273:West\n");
  EXPECT_EQ(FilterRows("Sample", "Basic", "NoEast"), "0:Eastern\n");
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[1].text, "1 filters have been changed!");
  EXPECT_EQ(port.messages[1].title, "Quorvel");
  EXPECT_EQ(port.messages[1].icon, MessageIcon::Information);
  EXPECT_EQ(port.messages[1].buttons, MessageButtons::OK);
  EXPECT_FALSE(port.held);
  EXPECT_FALSE(port.busy);
  EXPECT_EQ(form.state().filterRows.Count(), 2) << "the run's rows stay until the next run";
}

TEST_F(ChangeCommand, AccessTextOtherThanTheThreeNamesGivesNone) {
  Answer("write", "West");
  form.mnuChange_Click();
  EXPECT_EQ(FilterRows("Sample", "Basic", "ReadAll"), "273:East\n0:West\n");
}

TEST(AccessOf, ExactNamesOnly) {
  EXPECT_EQ(AccessOf("None"), AccessNone);
  EXPECT_EQ(AccessOf("Read"), AccessRead);
  EXPECT_EQ(AccessOf("Write"), AccessWrite);
  for (const char* other : {"", "read", "Read ", "WRITE", "Writer"})
    EXPECT_EQ(AccessOf(other), AccessNone) << other;
  EXPECT_EQ(AccessName(AccessWrite), "Write");
  EXPECT_EQ(AccessName(281), "281");
}

TEST_F(ChangeCommand, ChkAllTickedRunsOverMarkedDatabasesWhateverTheTicks) {
  form.chkAll_Click(1);
  Answer("Write", "");
  form.mnuChange_Click();
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[1].text, "No filters were selected.");
  EXPECT_EQ(port.messages[1].title, "Quorvel");
  EXPECT_EQ(port.messages[1].icon, MessageIcon::Information);
  EXPECT_FALSE(Wrote());

  Mark("Db:Demo-Basic");
  port.ClearLog();
  Answer("Write", "");
  form.mnuChange_Click();
  EXPECT_EQ(FilterRows("Demo", "Basic", "DemoRead"), "275:Market\n");
  EXPECT_EQ(FilterRows("Sample", "Basic", "ReadAll"), "273:East\n273:West\n");
  EXPECT_EQ(port.messages.back().text, "1 filters have been changed!");
}

TEST_F(ChangeCommand, ChkAllUntickedRunsOnTheSelectedDatabaseEvenWithMarks) {
  form.chkAll_Click(1);
  Mark("Db:Demo-Basic");
  form.chkAll_Click(0);
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  Answer("Write", "");
  form.mnuChange_Click();
  EXPECT_EQ(FilterRows("Demo", "Basic", "DemoRead"), "273:Market\n");
  EXPECT_EQ(FilterRows("Sample", "Basic", "ReadAll"), "275:East\n275:West\n");
}

TEST_F(ChangeCommand, ApplicationNodeSelectedEndsBeforeReadingWithTheActivationMessage) {
  form.tree_NodeClick(Node("App:Sample"));
  fake.ClearCalls();
  Answer("Write", "");
  form.mnuChange_Click();
  EXPECT_TRUE(fake.calls.empty());
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[1].text, msg::NoSuchDatabase);
  EXPECT_EQ(port.messages[1].icon, MessageIcon::Critical);
}

struct Shown {
  std::string text;
  MessageIcon icon;
  MessageButtons buttons;
};

struct MessageCase {
  const char* name;
  std::function<void(essbase::testing::FakeEssbaseApi&, ScriptedPort&)> arrange;
  std::vector<Shown> after;  // the messages after the question
};

std::ostream& operator<<(std::ostream& os, const MessageCase& c) {
  return os << c.name;
}

class ChangeMessages : public ChangeCommand, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(ChangeMessages, EachOutcomeShowsItsMessageIconAndButtons) {
  GetParam().arrange(fake, port);
  Answer("Write", "east");
  form.mnuChange_Click();
  ASSERT_GE(port.messages.size(), 1u);
  std::vector<std::string> got, want;
  for (size_t i = 1; i < port.messages.size(); ++i) {
    const auto& m = port.messages[i];
    got.push_back(m.text + "|" + std::to_string(static_cast<int>(m.icon)) + "|" +
                  std::to_string(static_cast<int>(m.buttons)) + "|" + m.title);
  }
  for (const Shown& s : GetParam().after)
    want.push_back(s.text + "|" + std::to_string(static_cast<int>(s.icon)) + "|" +
                   std::to_string(static_cast<int>(s.buttons)) + "|Quorvel");
  EXPECT_EQ(got, want);
  EXPECT_FALSE(port.busy);
  EXPECT_FALSE(port.held);
}

using F = essbase::testing::FakeEssbaseApi;
using P = ScriptedPort;
const Shown Retry{msg::ChangeWriteFailed(), MessageIcon::Critical, MessageButtons::RetryCancel};
const Shown Count2{"2 filters have been changed!", MessageIcon::Information, MessageButtons::OK};

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ChangeMessages,
    ::testing::Values(
        MessageCase{
            "ActivationFails",
            [](F& f, P&) { f.Fail("EsbSetActive", 1042); },
            {{std::string(msg::NoSuchDatabase), MessageIcon::Critical, MessageButtons::OK}}},
        MessageCase{"OpeningAFilterFails",
                    [](F& f, P&) { f.Fail("EsbGetFilter", 1042, 1); },
                    {{"An error (1042) has occured accessing the filters.  No filters have been "
                      "changed.",
                      MessageIcon::Critical, MessageButtons::OK}}},
        MessageCase{"FirstRowFails",
                    [](F& f, P&) { f.Fail("EsbGetFilterRow", -5); },
                    {{"An error (-5) has occured accessing the filters.  No filters have been "
                      "changed.",
                      MessageIcon::Critical, MessageButtons::OK}}},
        MessageCase{"LaterRowFails",
                    [](F& f, P&) { f.Fail("EsbGetFilterRow", 1042, 1); },
                    {{"An error has occured accessing the filters.  No filters have been changed.",
                      MessageIcon::Critical, MessageButtons::OK}}},
        MessageCase{"NoRows",
                    [](F& f, P&) {
                      f.FindFilter("Sample", "Basic", "ReadAll")->rows.clear();
                      f.FindFilter("Sample", "Basic", "NoEast")->rows.clear();
                    },
                    {{"There are no filters in this database.", MessageIcon::Information,
                      MessageButtons::OK}}},
        MessageCase{"WriteFailsThenCancel",
                    [](F& f, P& p) {
                      f.Fail("EsbSetFilterRow", 1042);
                      p.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
                    },
                    {Retry}},
        MessageCase{"WriteFailsThenRetry",
                    [](F& f, P&) { f.Fail("EsbSetFilterRow", 1042); },
                    {Retry, Count2}},
        MessageCase{"LoginAgainFailsThenNo",
                    [](F& f, P& p) {
                      f.Fail("EsbSetFilter", 1042);
                      f.Fail("EsbSetActive", 1042, 1);
                      p.answers = {MessageAnswer::Yes, MessageAnswer::Retry, MessageAnswer::No};
                    },
                    {Retry,
                     {"You still cannot login.  Do you want to try again?", MessageIcon::Question,
                      MessageButtons::YesNo},
                     Count2}},
        MessageCase{"RunTimeFailureWhileWriting",
                    [](F&, P& p) {
                      auto thrown = std::make_shared<bool>(false);
                      p.onProcessEvents = [thrown] {
                        if (!*thrown) {
                          *thrown = true;
                          throw std::runtime_error("Out of memory");
                        }
                      };
                    },
                    {{"Out of memory", MessageIcon::None, MessageButtons::OK}, Retry, Count2}}));

TEST_F(ChangeCommand, TooManyRowsSaysNothingChangedAndWhy) {
  fake.FindFilter("Sample", "Basic", "ReadAll")->rows.assign(10001, {AccessRead, "East"});
  Answer("Write", "east");
  form.mnuChange_Click();
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[1].text, msg::ChangeTooManyRows(10000));
  EXPECT_NE(port.messages[1].text.find("10000"), std::string::npos);
  EXPECT_NE(port.messages[1].text.find("No filters have been changed."), std::string::npos);
  EXPECT_EQ(port.messages[1].icon, MessageIcon::Critical);
  EXPECT_FALSE(Wrote());
}

TEST_F(ChangeCommand, WindowStaysStillWhileTheRunYields) {
  const int basic = Node("Db:Sample-Basic");
  int yields = 0;
  port.onProcessEvents = [&] {
    ++yields;
    EXPECT_TRUE(port.held);
    EXPECT_TRUE(port.busy);
    form.tree_NodeClick(Node("Db:Demo-Basic"));
    form.tree_DblClick();
    form.chkAll_Click(1);
    form.mnuDeselect_Click();
    form.mnuChange_Click();
    form.mnuLogout_Click();
  };
  Answer("Write", "east");
  form.mnuChange_Click();
  EXPECT_EQ(yields, 4);
  EXPECT_EQ(form.tree().Selected(), basic);
  EXPECT_EQ(form.tree().Image(Node("Db:Demo-Basic")), ImageDatabase);
  EXPECT_EQ(form.chkAll(), 0);
  EXPECT_TRUE(form.filters().Checked(1));
  EXPECT_EQ(port.changeDialogShown.size(), 1u);
  EXPECT_EQ(fake.CountCalls("EsbLogout"), 0);
  EXPECT_EQ(port.messages.back().text, "2 filters have been changed!");
  EXPECT_FALSE(port.held);
}

TEST_F(ChangeCommand, ProgressShowsFiltersReadAndWrittenThenClears) {
  Answer("Write", "east");
  form.mnuChange_Click();
  EXPECT_EQ(port.progress,
            (std::vector<std::string>{"Reading filters: 1 of 3", "Reading filters: 2 of 3",
                                      "Reading filters: 3 of 3", "Writing filters: 1 of 2",
                                      "Writing filters: 2 of 2", ""}));
}

TEST_F(ChangeCommand, ProgressAcrossMarkedDatabasesCountsFiltersReadAndNamesTheDatabase) {
  form.chkAll_Click(1);
  Mark("Db:Sample-Basic");
  Answer("Write", "east");
  form.mnuChange_Click();
  ASSERT_GE(port.progress.size(), 4u);
  EXPECT_EQ(port.progress[0], "Reading filters: 1 read, database 1 of 1");
  EXPECT_EQ(port.progress[2], "Reading filters: 3 read, database 1 of 1");
  EXPECT_EQ(port.progress[3], "Writing filters: 1 of 2");
}

TEST_F(ChangeCommand, PreviewListsTheMatchingRowsAndWritesNothing) {
  Answer("Write", "EAST", false, 1);
  form.mnuChange_Click();
  EXPECT_FALSE(Wrote());
  ASSERT_EQ(port.previews.size(), 1u);
  const ChangePreview& p = port.previews[0];
  ASSERT_EQ(p.rows.size(), 2u);
  EXPECT_EQ(p.rows[0].application, "Sample");
  EXPECT_EQ(p.rows[0].database, "Basic");
  EXPECT_EQ(p.rows[0].filter, "ReadAll");
  EXPECT_EQ(p.rows[0].text, "East");
  EXPECT_EQ(p.rows[0].accessNow, "Read");
  EXPECT_EQ(p.rows[0].accessAfter, "Write");
  EXPECT_EQ(p.rows[1].filter, "NoEast");
  EXPECT_EQ(p.rows[1].accessNow, "None");
  EXPECT_EQ(p.summary, msg::PreviewSummary(2, 2));
  // No question, and the dialog keeps what was typed.
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(form.state().changeDialog.searchText, "EAST");
  EXPECT_FALSE(port.held);
}

TEST_F(ChangeCommand, PreviewAcrossMarkedDatabasesNamesEachRowsDatabase) {
  form.chkAll_Click(1);
  Mark("Db:Demo-Basic");
  Mark("Db:Sample-Basic");
  Answer("None", "", false, 1);
  form.mnuChange_Click();
  ASSERT_EQ(port.previews.size(), 1u);
  const auto& rows = port.previews[0].rows;
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].application, "Sample");
  EXPECT_EQ(rows[3].application, "Demo");
  EXPECT_EQ(rows[3].text, "Market");
  EXPECT_EQ(port.previews[0].summary, msg::PreviewSummary(3, 4));
  EXPECT_FALSE(Wrote());
}

TEST_F(ChangeCommand, PreviewThatCannotReadShowsTheRunsMessageInstead) {
  fake.Fail("EsbGetFilter", 1042);
  Answer("Write", "east", false, 1);
  form.mnuChange_Click();
  EXPECT_TRUE(port.previews.empty());
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::ChangeReadFailed(1042));
}

TEST_F(ChangeCommand, DroppedSessionAtActivationPromptsAndTheHourglassReturns) {
  fake.Fail("EsbSetActive", essbase::ReloginStatus);
  Answer("Write", "east");
  form.mnuChange_Click();
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 1);
  EXPECT_EQ(port.messages.back().text, "2 filters have been changed!");
  EXPECT_FALSE(port.busy);
}

}  // namespace
}  // namespace desktop::testing
