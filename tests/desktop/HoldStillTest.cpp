#include <gtest/gtest.h>

#include "desktop/HoldStill.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

class HoldStillTest : public DesktopTest {};

TEST_F(HoldStillTest, InputDuringTheScopeDoesNotReachTheCommands) {
  StartAndLogin();
  const int basic = Node("Db:Sample-Basic");
  form.tree_NodeClick(basic);
  ASSERT_EQ(form.filters().Count(), 3);
  {
    HoldStill hold = form.Hold();
    EXPECT_TRUE(port.held);
    EXPECT_TRUE(port.busy);
    fake.calls.clear();
    form.tree_NodeClick(Node("Db:Sample-Interim"));
    form.mnuDeselect_Click();
    form.chkAll_Click(1);
    form.mnuLogout_Click();
    form.mnuAbout_Click();
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(form.tree().Selected(), basic);
    EXPECT_EQ(form.chkAll(), 0);
    EXPECT_EQ(form.filters().Count(), 3);
    EXPECT_TRUE(form.filters().Checked(1));
  }
  EXPECT_FALSE(port.held);
  EXPECT_FALSE(port.busy);
  form.mnuDeselect_Click();
  EXPECT_FALSE(form.filters().Checked(1));
}

TEST_F(HoldStillTest, NestedScopesReleaseOnlyAtTheOuterEnd) {
  StartAndLogin();
  {
    HoldStill outer = form.Hold();
    { HoldStill inner = form.Hold(); }
    EXPECT_TRUE(port.held);
    EXPECT_TRUE(port.busy);
    EXPECT_TRUE(form.state().Held());
  }
  EXPECT_FALSE(port.held);
  EXPECT_FALSE(port.busy);
  EXPECT_FALSE(form.state().Held());
}

TEST_F(HoldStillTest, ReleasedWhenTheCommandLeavesByAnException) {
  StartAndLogin();
  try {
    HoldStill hold = form.Hold();
    throw std::runtime_error("out");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(port.held);
  EXPECT_FALSE(port.busy);
}

}  // namespace
}  // namespace desktop::testing
