// The main window's menus: items, shortcuts, separators, starting states.
#include <QMenu>
#include <QMenuBar>

#include "tests/qt/MainWindowFixture.h"

namespace quorvel::qt::testing {
namespace {

struct MenuItem {
  const char* name;
  const char* menu;
  const char* caption;
  const char* shortcut;
};

class MenuItems : public MainWindow, public ::testing::WithParamInterface<MenuItem> {};

TEST_P(MenuItems, CaptionShortcutAndMenu) {
  const MenuItem item = GetParam();
  QAction* action = Action(item.name);
  ASSERT_NE(action, nullptr) << item.name;
  EXPECT_EQ(action->text().toStdString(), item.caption);
  EXPECT_EQ(action->shortcut(), QKeySequence(QString(item.shortcut)));
  auto* menu = window->findChild<QMenu*>(item.menu);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->actions().contains(action));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MenuItems,
    ::testing::Values(MenuItem{"mnuLogin", "mnuUser", "&Login", "Ctrl+L"},
                      MenuItem{"mnuLogout", "mnuUser", "L&ogout", "Ctrl+O"},
                      MenuItem{"mnuExport", "mnuFilter", "&Export", "Ctrl+E"},
                      MenuItem{"mnuImport", "mnuFilter", "&Import", "Ctrl+I"},
                      MenuItem{"mnuDelete", "mnuFilter", "&Delete", ""},
                      MenuItem{"mnuChange", "mnuFilter", "&Change Access", "Ctrl+C"},
                      MenuItem{"mnuSelectAll", "mnuOther", "Select All", "Ctrl+A"},
                      MenuItem{"mnuDeselect", "mnuOther", "De-Select All", "Ctrl+D"},
                      MenuItem{"mnuOtherExport", "mnuOther", "Export Selections List to File", ""},
                      MenuItem{"mnuOtherImport", "mnuOther", "Make Selections from Save List", ""},
                      MenuItem{"mnuQuorvelHome", "mnuHelp", "&Quorvel Home Page", ""},
                      MenuItem{"mnuAbout", "mnuHelp", "About", ""},
                      MenuItem{"mnuHelpVersionCheck", "mnuHelp", "Is Your Quorvel Version Current?",
                               ""}),
    [](const auto& info) { return std::string(info.param.name); });

std::string Shape(const QMenu* menu) {
  std::string out;
  for (const QAction* a : menu->actions())
    out += (out.empty() ? "" : ",") +
           (a->isSeparator() ? std::string("-") : a->objectName().toStdString());
  return out;
}

TEST_F(MainWindow, MenuBarHoldsServerFilterHelpButNotOther) {
  QStringList bar;
  for (const QAction* a : window->menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar.join('|').toStdString(), "&Server|&Filter|&Help");
}

TEST_F(MainWindow, SeparatorsWhereTheMenusHaveThem) {
  EXPECT_EQ(Shape(window->menus().mnuFilter),
            "mnuExport,mnuImport,mnuCompare,-,mnuDelete,-,mnuChange,-,mnuRestore");
  EXPECT_EQ(Shape(window->menus().mnuOther),
            "mnuSelectAll,mnuDeselect,-,mnuOtherExport,mnuOtherImport");
  EXPECT_EQ(Shape(window->menus().mnuHelp), "mnuQuorvelHome,mnuAbout,-,mnuHelpVersionCheck");
}

TEST_F(MainWindow, OpensWithFilterCommandsAndListDisabled) {
  for (const char* off :
       {"mnuExport", "mnuImport", "mnuCompare", "mnuDelete", "mnuChange", "mnuRestore"})
    EXPECT_FALSE(Action(off)->isEnabled()) << off;
  for (const char* on : {"mnuLogin", "mnuLogout", "mnuSelectAll", "mnuDeselect", "mnuOtherExport",
                         "mnuOtherImport", "mnuQuorvelHome", "mnuAbout", "mnuHelpVersionCheck"})
    EXPECT_TRUE(Action(on)->isEnabled()) << on;
  EXPECT_FALSE(window->filters()->isEnabled());
  EXPECT_EQ(window->windowTitle(), "Quorvel");
}

}  // namespace
}  // namespace quorvel::qt::testing
