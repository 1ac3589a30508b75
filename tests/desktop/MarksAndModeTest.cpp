#include "desktop/MarksAndMode.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

class MarksTest : public DesktopTest {
 protected:
  void SetUp() override { StartAndLogin(); }
  void DoubleClick(const std::string& key) {
    form.tree_NodeClick(Node(key));
    form.tree_DblClick();
  }
};

TEST_F(MarksTest, DoubleClickMarksThenUnmarks) {
  DoubleClick("Db:Sample-Basic");
  EXPECT_EQ(form.tree().Image(Node("Db:Sample-Basic")), ImageMarkedDatabase);
  EXPECT_EQ(CountMarked(form.tree()), 1);
  form.tree_DblClick();
  EXPECT_EQ(form.tree().Image(Node("Db:Sample-Basic")), ImageDatabase);
  EXPECT_EQ(CountMarked(form.tree()), 0);
}

TEST_F(MarksTest, MarksCountedAcrossApplications) {
  DoubleClick("Db:Sample-Basic");
  DoubleClick("Db:Demo-Basic");
  DoubleClick("Db:Sample-Interim");
  EXPECT_EQ(CountMarked(form.tree()), 3);
  DoubleClick("Db:Demo-Basic");
  EXPECT_EQ(CountMarked(form.tree()), 2);
}

TEST_F(MarksTest, ApplicationNodeIsNeverMarked) {
  DoubleClick("App:Sample");
  EXPECT_EQ(form.tree().Image(Node("App:Sample")), ImageApplication);
  EXPECT_EQ(form.menus(), Menus(false, false, false, false));
}

TEST_F(MarksTest, UnmarkingTheLastDisablesChangeAndExportOnlyInSingleMode) {
  DoubleClick("Db:Sample-Basic");  // listing enables all four, mark keeps them
  EXPECT_EQ(form.menus(), Menus(true, true, true, true));
  form.tree_DblClick();
  EXPECT_EQ(form.menus(), Menus(false, true, true, false));
  EXPECT_TRUE(form.filters().Enabled());
}

TEST_F(MarksTest, MarkEnablesChangeAndExportWithoutListing) {
  form.chkAll_Click(1);
  DoubleClick("Db:Demo-Basic");
  EXPECT_EQ(form.menus(), Menus(true, false, false, true));
  EXPECT_FALSE(form.filters().Enabled());
}

TEST_F(MarksTest, DoubleClickOnEmptyTreeOnlyDisablesChangeAndExport) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));  // all four enabled
  form.mnuLogout_Click();
  port.ClearLog();
  form.tree_DblClick();
  EXPECT_EQ(form.menus(), Menus(false, true, true, false));
  EXPECT_TRUE(form.filters().Enabled());
  EXPECT_EQ(port.LogText(), "SetEnabled(mnuChange,0)\nSetEnabled(mnuExport,0)\n");
}

TEST_F(MarksTest, MarksAndTicksSurviveModeSwitches) {
  DoubleClick("Db:Sample-Basic");
  form.filters().SetChecked(2, false);
  const std::string tree = form.tree().Dump(), filters = form.filters().Dump();
  form.chkAll_Click(1);
  form.chkAll_Click(0);
  EXPECT_EQ(form.tree().Dump(), tree);
  EXPECT_EQ(form.filters().Dump(), filters);
}

class ModeTest : public DesktopTest {
 protected:
  void SetUp() override { StartAndLogin(); }
};

TEST_F(ModeTest, TickingHidesListAndWidensTree) {
  form.chkAll_Click(1);
  EXPECT_FALSE(form.filters().Visible());
  EXPECT_FALSE(port.view.at(Control::filters).visible);
  EXPECT_FALSE(port.view.at(Control::Label2).visible);
  EXPECT_EQ(form.tree().Width(), 9000 - 400);
  EXPECT_EQ(port.view.at(Control::tree).width, 9000 - 400);
  form.chkAll_Click(0);
  EXPECT_TRUE(form.filters().Visible());
  EXPECT_TRUE(port.view.at(Control::Label2).visible);
  EXPECT_EQ(form.tree().Width(), 9000 / 2 - 300);
}

TEST_F(ModeTest, TickingWhileImportDisabledChangesOnlyLayout) {
  port.ClearLog();
  form.chkAll_Click(1);
  for (const auto& line : port.log) EXPECT_EQ(line.find("SetEnabled"), std::string::npos) << line;
  EXPECT_EQ(form.menus(), Menus(false, false, false, false));
}

TEST_F(ModeTest, WithDatabaseChosenTickingKeepsExportChangeAndUntickingKeepsDeleteImportOff) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  form.chkAll_Click(1);
  EXPECT_EQ(form.menus(), Menus(true, false, false, true));
  EXPECT_TRUE(form.filters().Enabled());
  form.chkAll_Click(0);
  EXPECT_EQ(form.menus(), Menus(true, false, false, true));
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  EXPECT_EQ(form.menus(), Menus(true, true, true, true));
}

struct RightClickCase {
  const char* name;
  bool chooseDatabase;
  int chkAll;
  int button;
  bool opens;
};

class RightClickTest : public DesktopTest, public ::testing::WithParamInterface<RightClickCase> {};

TEST_P(RightClickTest, ContextMenuOnlyOnEnabledVisibleList) {
  const auto& c = GetParam();
  StartAndLogin();
  if (c.chooseDatabase) form.tree_NodeClick(Node("Db:Sample-Interim"));  // empty list
  form.chkAll_Click(c.chkAll);
  port.ClearLog();
  form.filters_MouseDown(c.button, 0, 100, 100);
  EXPECT_EQ(port.LogText(), c.opens ? "PopupOtherMenu()\n" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RightClickTest,
    ::testing::Values(RightClickCase{"EnabledEmptyList", true, 0, RightButton, true},
                      RightClickCase{"DisabledBeforeDatabase", false, 0, RightButton, false},
                      RightClickCase{"HiddenInAllMode", true, 1, RightButton, false},
                      RightClickCase{"LeftButton", true, 0, LeftButton, false},
                      RightClickCase{"MiddleButton", true, 0, 4, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModeTest, SelectAllAndDeselectAllWorkOnCurrentContent) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  form.mnuDeselect_Click();
  EXPECT_EQ(form.filters().Dump(),
            "1|_ReadAll|ReadAll|0|3|4|-\n"
            "2|_NoEast|NoEast|0|3|4|-\n"
            "3|_WriteWest|WriteWest|0|3|4|-\n");
  form.chkAll_Click(1);  // hidden list: still works
  form.filters().SetChecked(1, true);
  form.mnuSelectAll_Click();
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(form.filters().Checked(i));
}

}  // namespace
}  // namespace desktop::testing
