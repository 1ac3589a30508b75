#include <algorithm>

#include "tests/desktop/FileCommandFixture.h"

namespace desktop::testing {
namespace {

using essbase::ReloginStatus;

// The backup's reads before the first deletion: the listing of
// Finance/Plan, every name first (a filter read again after a new login
// cannot go on with a listing of the old one), then the ticked filters whole.
std::string PlanBackupReads(const std::string& unticked = "") {
  std::string calls = "EsbListFilters(Finance,Plan)\n";
  for (int i = 0; i < 3; ++i) calls += "EsbGetNextItem(12,30)\n";
  for (auto [name, rows] : {std::pair{"ReadEast", 2}, {"NoBudget", 1}, {"WriteAll", 1}}) {
    if (name == unticked) continue;
    calls += "EsbGetFilter(Finance,Plan," + std::string(name) + ")\n";
    for (int i = 0; i <= rows; ++i) calls += "EsbGetFilterRow(8193)\n";
  }
  return calls;
}
constexpr size_t PlanBackupCalls = 14;

class DeleteCommand : public FileCommandTest {
 protected:
  void SetUp() override {
    FileCommandTest::SetUp();
    AddFinanceServer();
    fake.AddFilter("Finance", "Plan", "WriteAll", {{275, "All"}});
    LoginAt("Db:Finance-Plan");
  }
  // The calls after the backup's reads, which must come first.
  std::string OwnCalls(const std::string& unticked = "") const {
    const std::string calls = fake.CallsText();
    const std::string reads = PlanBackupReads(unticked);
    EXPECT_EQ(calls.substr(0, reads.size()), reads);
    return calls.substr(std::min(calls.size(), reads.size()));
  }
};

TEST_F(DeleteCommand, DeletesTickedInListOrderThenListsAgainAllTicked) {
  Tick("NoBudget", false);
  form.mnuDelete_Click();
  // NoBudget, not to be deleted, is not read for the backup either.
  EXPECT_EQ(OwnCalls("NoBudget"),
            "EsbDeleteFilter(Finance,Plan,ReadEast)\n"
            "EsbDeleteFilter(Finance,Plan,WriteAll)\n"
            "EsbListFilters(Finance,Plan)\n"
            "EsbGetNextItem(12,30)\n");
  EXPECT_EQ(Ticks(), "NoBudget,");
  EXPECT_EQ(form.filters().Dump(), "1|_NoBudget|NoBudget|0|3|4|x\n");
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::DeleteQuestion);
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(port.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_FALSE(port.busy);
  EXPECT_FALSE(port.held);
}

TEST_F(DeleteCommand, NoLeavesServerListAndTicksAlone) {
  Tick("ReadEast", false);
  const std::string before = form.filters().Dump();
  port.answers.push_back(MessageAnswer::No);
  form.mnuDelete_Click();
  EXPECT_EQ(fake.CallsText(), "");
  EXPECT_EQ(form.filters().Dump(), before);
}

TEST_F(DeleteCommand, NothingTickedStillListsAgainAllTicked) {
  form.mnuDeselect_Click();
  form.mnuDelete_Click();
  EXPECT_EQ(fake.CountCalls("EsbDeleteFilter"), 0);
  EXPECT_EQ(Ticks(), "ReadEast,NoBudget,WriteAll,");
}

TEST_F(DeleteCommand, ApplicationNodeSelectedStopsBeforeAskingOrCalling) {
  form.tree_NodeClick(Node("App:Finance"));
  fake.ClearCalls();
  port.ClearLog();
  form.mnuDelete_Click();
  EXPECT_EQ(fake.CallsText(), "");
  EXPECT_EQ(port.LogText(),
            "ShowMessage(Critical,Quorvel," + std::string(msg::NoDatabaseSelected) + ")\n");
}

TEST_F(DeleteCommand, DroppedSessionLogsInOnceAndDeletesThatFilterAgain) {
  fake.Fail("EsbDeleteFilter", ReloginStatus, 0, 1);
  form.mnuDelete_Click();
  const size_t first = PlanBackupCalls;
  EXPECT_EQ(OwnCalls(), "EsbDeleteFilter(Finance,Plan,ReadEast)\n" +
                            fake.calls.at(first + 1).text() +
                            "\n"
                            "EsbDeleteFilter(Finance,Plan,ReadEast)\n"
                            "EsbDeleteFilter(Finance,Plan,NoBudget)\n"
                            "EsbDeleteFilter(Finance,Plan,WriteAll)\n"
                            "EsbListFilters(Finance,Plan)\n");
  EXPECT_EQ(fake.calls.at(first + 1).name, "EsbAutoLogin");
  // The repeat goes out on the new login's context.
  EXPECT_NE(fake.calls.at(first + 2).context, fake.calls.at(first).context);
  EXPECT_EQ(form.filters().Count(), 0);
  EXPECT_EQ(port.messages.size(), 1u);  // the question only
}

// The refused repeat is not repeated again; the next deletion finds the
// session gone once more and gets a login of its own.
TEST_F(DeleteCommand, RefusedRepeatIsNotFollowedBySecondLogin) {
  fake.Fail("EsbDeleteFilter", ReloginStatus, 0, 2);
  form.mnuDelete_Click();
  EXPECT_EQ(fake.CountCalls("EsbDeleteFilter"), 5);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 2);
  EXPECT_EQ(Ticks(), "ReadEast,");
}

// A refusal is silent in the original; here it is named after the refill.
TEST_F(DeleteCommand, RefusalIsNamedWithItsStatusAndTheOthersAreStillDeleted) {
  fake.Fail("EsbDeleteFilter", ESB_STS_UNKNOWN_FILTER, 1, 1);
  form.mnuDelete_Click();
  EXPECT_EQ(fake.CountCalls("EsbDeleteFilter"), 3);
  EXPECT_EQ(Ticks(), "NoBudget,");
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[1].text, std::string(msg::DeleteRefusedStart) +
                                       msg::DeleteRefusedLine("NoBudget", ESB_STS_UNKNOWN_FILTER));
  EXPECT_EQ(port.messages[1].icon, MessageIcon::Critical);
  // Shown after the list is filled again.
  const std::string log = port.LogText();
  EXPECT_LT(log.find("SetBusy(0)"), log.find(msg::DeleteRefusedStart));
}

TEST_F(DeleteCommand, ManyRefusalsNameTheFirstTwentyAndCountTheRest) {
  for (int i = 0; i < 22; ++i) fake.AddFilter("Finance", "Plan", "F" + std::to_string(i));
  form.tree_NodeClick(Node("Db:Finance-Plan"));
  port.ClearLog();
  fake.Fail("EsbDeleteFilter", 7, 0, 0);
  form.mnuDelete_Click();
  ASSERT_EQ(port.messages.size(), 2u);
  std::string expected(msg::DeleteRefusedStart);
  for (const char* name : {"ReadEast", "NoBudget", "WriteAll"})
    expected += msg::DeleteRefusedLine(name, 7);
  for (int i = 0; i < 17; ++i) expected += msg::DeleteRefusedLine("F" + std::to_string(i), 7);
  expected += msg::DeleteRefusedMore(5);
  EXPECT_EQ(port.messages[1].text, expected);
}

TEST_F(DeleteCommand, ListingFailureWithNothingDeletedSaysNoChange) {
  form.mnuDeselect_Click();
  fake.Fail("EsbListFilters", 1051006);
  form.mnuDelete_Click();
  EXPECT_EQ(form.filters().Count(), 0);
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[1].text,
            "An error (1051006) has occured accessing the filters.  No filters have been changed.");
  EXPECT_EQ(port.messages[1].icon, MessageIcon::Critical);
  EXPECT_EQ(port.view[Control::Window].caption, "An error occured.  No changes were made.");
  EXPECT_FALSE(port.busy);
}

TEST_F(DeleteCommand, ListingFailureAfterDeletionsSaysHowManyWereDeleted) {
  Tick("NoBudget", false);
  // The list's own listing and the backup's go through.
  fake.Fail("EsbListFilters", 1051006, 2);
  form.mnuDelete_Click();
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[1].text, msg::DeletedBeforeListingFailed(1051006, 2));
  EXPECT_EQ(port.messages[1].text.find("No filters have been changed"), std::string::npos);
  EXPECT_EQ(port.view[Control::Window].caption, msg::DeletedBeforeListingFailedCaption(2));
  EXPECT_NE(port.view[Control::Window].caption.find("2 filters were deleted"), std::string::npos);
}

TEST_F(DeleteCommand, DroppedSessionOnTheListingIsNotRepeated) {
  form.mnuDeselect_Click();
  fake.Fail("EsbListFilters", ReloginStatus);
  form.mnuDelete_Click();
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 0);
  EXPECT_EQ(fake.CountCalls("EsbListFilters"), 1);
}

TEST_F(DeleteCommand, NameThatCannotBeFetchedLeavesTheListEmptyNotCut) {
  form.mnuDeselect_Click();
  // Ten names fetched so far (tree 2 + 4, list 3, refill 1): the second of
  // the refill fails.
  fake.Fail("EsbGetNextItem", 1051007, 2 + 4 + 3 + 1);
  form.mnuDelete_Click();
  EXPECT_EQ(fake.CountCalls("EsbGetNextItem"), 2);
  EXPECT_EQ(form.filters().Count(), 0);
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[1].text, msg::FiltersNotListed(1051007));
}

}  // namespace
}  // namespace desktop::testing
