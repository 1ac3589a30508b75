// The tree and the filter list: login, clicks, keys, marks, the context menu.
#include <QAbstractButton>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>

#include "desktop/qt/Images.h"
#include "tests/qt/MainWindowFixture.h"
#include "tests/qt/Modal.h"

namespace quorvel::qt::testing {
namespace {

TEST_F(MainWindow, LoginMenuReachesTheServerAndFillsTheTree) {
  Action("mnuLogin")->trigger();
  EXPECT_EQ(api.CountCalls("EsbInit"), 1);
  EXPECT_EQ(api.CountCalls("EsbAutoLogin"), 1);
  NodeListModel* model = window->treeModel();
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(model->index(0, 0).data().toString(), "Sample");
  EXPECT_EQ(model->rowCount(model->index(0, 0)), 2);
  EXPECT_EQ(model->rowCount(model->index(1, 0)), 1);
  EXPECT_TRUE(window->tree()->isExpanded(model->index(0, 0)));
}

TEST_F(MainWindow, CtrlLShortcutLogsIn) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->tree()->setFocus();
  QTest::keyClick(window->tree(), Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(api.CountCalls("EsbAutoLogin"), 1);
}

TEST_F(MainWindow, CtrlDShortcutOfHiddenOtherMenuStillWorks) {
  LoginAndChooseSampleBasic();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->filters()->setFocus();
  QTest::keyClick(window->filters(), Qt::Key_D, Qt::ControlModifier);
  EXPECT_FALSE(window->logic().filters().Checked(1));
  EXPECT_FALSE(window->logic().filters().Checked(3));
}

// Ctrl+A and Ctrl+C are also a list's own select-all and copy keys; the
// menu items must still get them while a list has the focus.
TEST_F(MainWindow, CtrlAInTheFocusedListTicksEveryFilter) {
  LoginAndChooseSampleBasic();
  window->logic().mnuDeselect_Click();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->filters()->setFocus();
  QTest::keyClick(window->filters(), Qt::Key_A, Qt::ControlModifier);
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(window->logic().filters().Checked(i)) << i;
}

TEST_F(MainWindow, CtrlCInTheFocusedTreeStartsChangeAccess) {
  LoginAndChooseSampleBasic();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->tree()->setFocus();
  QString title;
  AnswerNextModal(
      [&](QWidget* modal) {
        title = modal->windowTitle();
        static_cast<QDialog*>(modal)->reject();
      },
      &pollers);
  QTest::keyClick(window->tree(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(title, "Change Filter");
}

TEST_F(MainWindow, ClickedFilterShowsItsSelectedImage) {
  LoginAndChooseSampleBasic();
  ListControl* filters = window->filters();
  const QModelIndex second = window->filtersModel()->index(1, 0);
  QTest::mouseClick(filters->viewport(), Qt::LeftButton, {}, filters->visualRect(second).center());
  EXPECT_EQ(window->logic().filters().Selected(), 2);
  EXPECT_EQ(second.data(Qt::DecorationRole).value<QPixmap>().toImage(),
            ListImage(desktop::ImageMarkedDatabase).toImage());
}

TEST_F(MainWindow, ClickOnDatabaseListsItsFiltersAllTicked) {
  LoginAndChooseSampleBasic();
  NodeListModel* model = window->filtersModel();
  ASSERT_EQ(model->rowCount(), 3);
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(model->index(row, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked) << row;
  EXPECT_EQ(model->index(2, 0).data().toString(), "f3");
  EXPECT_TRUE(window->filters()->isEnabled());
  EXPECT_TRUE(Action("mnuDelete")->isEnabled());
  EXPECT_TRUE(Action("mnuImport")->isEnabled());
}

TEST_F(MainWindow, LongFilterNameNotCutInANarrowList) {
  const std::string thirty = "Regional_Sales_Managers_Europe";
  api.AddFilter("Sample", "Basic", thirty);
  ResizeOuter(300, 500);
  LoginAndChooseSampleBasic();
  ListControl* filters = window->filters();
  const QModelIndex last = window->filtersModel()->index(3, 0);
  ASSERT_EQ(last.data().toString().toStdString(), thirty);
  EXPECT_GE(filters->visualRect(last).width(),
            filters->fontMetrics().horizontalAdvance(QString::fromStdString(thirty)));
  EXPECT_GT(filters->horizontalScrollBar()->maximum(), 0);
}

TEST_F(MainWindow, ArrowKeyOntoADatabaseListsItsFilters) {
  Action("mnuLogin")->trigger();
  ListControl* tree = window->tree();
  tree->setCurrentIndex(window->treeModel()->index(0, 0));
  QTest::keyClick(tree, Qt::Key_Down);
  const QModelIndex basic = window->treeModel()->index(0, 0, window->treeModel()->index(0, 0));
  EXPECT_EQ(window->logic().tree().Selected(), window->treeModel()->NodeOf(basic));
  EXPECT_EQ(window->filtersModel()->rowCount(), 3);
}

TEST_F(MainWindow, SpaceUnticksTheCurrentFilterInTheList) {
  LoginAndChooseSampleBasic();
  ListControl* filters = window->filters();
  filters->setCurrentIndex(window->filtersModel()->index(1, 0));
  QTest::keyClick(filters, Qt::Key_Space);
  EXPECT_FALSE(window->logic().filters().Checked(2));
  EXPECT_TRUE(window->logic().filters().Checked(1));
}

TEST_F(MainWindow, ClickOnApplicationDisablesCommandsButKeepsFilters) {
  LoginAndChooseSampleBasic();
  ClickNode(window->treeModel()->index(0, 0));
  EXPECT_FALSE(Action("mnuExport")->isEnabled());
  EXPECT_FALSE(window->filters()->isEnabled());
  EXPECT_EQ(window->filtersModel()->rowCount(), 3);
}

TEST_F(MainWindow, DoubleClickMarksTheDatabase) {
  Action("mnuLogin")->trigger();
  const QModelIndex interntl = window->treeModel()->index(1, 0, window->treeModel()->index(0, 0));
  ClickNode(interntl);
  ListControl* tree = window->tree();
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(interntl).center());
  const int node = window->treeModel()->NodeOf(interntl);
  EXPECT_EQ(window->logic().tree().Image(node), desktop::ImageMarkedDatabase);
  EXPECT_TRUE(Action("mnuChange")->isEnabled());
  EXPECT_TRUE(Action("mnuExport")->isEnabled());
}

// The logic keeps its selected node when a click misses every node, so the
// tree must keep showing it: a double-click there marks that database.
TEST_F(MainWindow, ClickBelowTheNodesKeepsTheSelectedDatabaseShown) {
  Action("mnuLogin")->trigger();
  const QModelIndex interntl = window->treeModel()->index(1, 0, window->treeModel()->index(0, 0));
  ClickNode(interntl);
  ListControl* tree = window->tree();
  const QPoint below(tree->viewport()->width() / 2, tree->viewport()->height() - 3);
  ASSERT_FALSE(tree->indexAt(below).isValid());
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, below);
  EXPECT_EQ(window->logic().tree().Selected(), window->treeModel()->NodeOf(interntl));
  EXPECT_TRUE(tree->selectionModel()->isSelected(interntl));
}

TEST_F(MainWindow, RightClickInEnabledListOpensOtherMenu) {
  LoginAndChooseSampleBasic();
  ListControl* filters = window->filters();
  filters->setCurrentIndex(window->filtersModel()->index(2, 0));
  QString opened;
  AnswerNextPopup(
      [&](QMenu* menu) {
        opened = menu->objectName();
        menu->close();
      },
      &pollers);
  const QPoint onFirst = filters->visualRect(window->filtersModel()->index(0, 0)).center();
  QTest::mousePress(filters->viewport(), Qt::RightButton, {}, onFirst);
  EXPECT_EQ(opened, "mnuOther");
  // The right button does not move the current filter.
  EXPECT_EQ(filters->currentIndex().row(), 2);
}

TEST_F(MainWindow, RightClickInDisabledListDoesNothing) {
  int shown = 0;
  QObject::connect(window->menus().mnuOther, &QMenu::aboutToShow, &pollers, [&] { ++shown; });
  AnswerNextPopup([](QMenu* menu) { menu->close(); }, &pollers, 20);
  QTest::mousePress(window->filters()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(shown, 0);
}

}  // namespace
}  // namespace quorvel::qt::testing
