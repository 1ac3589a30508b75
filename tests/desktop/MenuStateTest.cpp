#include "desktop/Messages.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

class MenuStateTest : public DesktopTest {};

TEST_F(MenuStateTest, StartUpDisablesOnlyTheFilterCommandsAndList) {
  form.Form_Load();
  EXPECT_EQ(form.menus(), Menus(false, false, false, false));
  EXPECT_FALSE(form.filters().Enabled());
  for (Control c : {Control::mnuExport, Control::mnuImport, Control::mnuDelete, Control::mnuChange,
                    Control::filters})
    EXPECT_FALSE(port.view.at(c).enabled) << ControlName(c);
  EXPECT_EQ(port.view.at(Control::Window).caption, "Quorvel");
}

struct MenuRow {
  int chkAll;
  bool on;
  MenuStates expected;
  bool listEnabled;
};

class ChangeMenuTable : public DesktopTest, public ::testing::WithParamInterface<MenuRow> {};

TEST_P(ChangeMenuTable, StatesFollowModeAndArgument) {
  const MenuRow& row = GetParam();
  form.Form_Load();
  form.ChangeMenu(!row.on);  // start from the opposite states
  form.chkAll_Click(row.chkAll);
  form.ChangeMenu(row.on);
  EXPECT_EQ(form.menus(), row.expected);
  EXPECT_EQ(form.filters().Enabled(), row.listEnabled);
  // The screen shows what the logic holds.
  EXPECT_EQ(port.view.at(Control::mnuExport).enabled, row.expected.Export);
  EXPECT_EQ(port.view.at(Control::mnuImport).enabled, row.expected.Import);
  EXPECT_EQ(port.view.at(Control::mnuDelete).enabled, row.expected.Delete);
  EXPECT_EQ(port.view.at(Control::mnuChange).enabled, row.expected.Change);
  EXPECT_EQ(port.view.at(Control::filters).enabled, row.listEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChangeMenuTable,
    ::testing::Values(MenuRow{0, true, Menus(true, true, true, true), true},
                      MenuRow{1, true, Menus(true, false, false, true), true},
                      MenuRow{0, false, Menus(false, false, false, false), false},
                      MenuRow{1, false, Menus(false, false, false, false), false}));

}  // namespace
}  // namespace desktop::testing
