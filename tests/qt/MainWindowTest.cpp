#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "desktop/qt/Images.h"
#include "desktop/qt/ListControl.h"
#include "desktop/qt/NodeListModel.h"
#include "desktop/qt/QuorvelWindow.h"
#include "desktop/qt/Twips.h"
#include "tests/qt/Modal.h"
#include "tests/support/FakeEssbaseApi.h"

namespace quorvel::qt {
namespace {

using essbase::testing::FakeEssbaseApi;
using testing::AnswerNextModal;
using testing::AnswerNextPopup;

int Px(int twips) {
  return TwipsToPixels(twips, ScreenDpi());
}
int Tw(int pixels) {
  return PixelsToTwips(pixels, ScreenDpi());
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    api.AddFilter("Sample", "Basic", "f1");
    api.AddFilter("Sample", "Basic", "f2");
    api.AddFilter("Sample", "Basic", "f3");
    api.AddDatabase("Sample", "Interntl");
    api.AddDatabase("Demo", "Basic");
    api.promptAvailable = true;
    window = std::make_unique<QuorvelWindow>(api, essbase::Generation::V6);
    window->show();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    window.reset();
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
  QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }
  // Logs in through the menu and clicks Sample/Basic in the tree view.
  void LoginAndChooseSampleBasic() {
    Action("mnuLogin")->trigger();
    const QModelIndex basic = window->treeModel()->index(0, 0, window->treeModel()->index(0, 0));
    ASSERT_EQ(basic.data().toString(), "Basic");
    ClickNode(basic);
  }
  void ClickNode(const QModelIndex& index) {
    ListControl* tree = window->tree();
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
  }
  // Resizes so that the outer size is the given one in pixels.
  void ResizeOuter(int width, int height) {
    const QSize frame = window->frameGeometry().size() - window->size();
    window->resize(width - frame.width(), height - frame.height());
    QCoreApplication::processEvents();
  }

  FakeEssbaseApi api;
  std::unique_ptr<QuorvelWindow> window;
  QObject pollers;  // ends pending modal answers with the test
};

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
  EXPECT_EQ(Shape(window->menus().mnuFilter), "mnuExport,mnuImport,-,mnuDelete,-,mnuChange");
  EXPECT_EQ(Shape(window->menus().mnuOther),
            "mnuSelectAll,mnuDeselect,-,mnuOtherExport,mnuOtherImport");
  EXPECT_EQ(Shape(window->menus().mnuHelp), "mnuQuorvelHome,mnuAbout,-,mnuHelpVersionCheck");
}

TEST_F(MainWindow, OpensWithFilterCommandsAndListDisabled) {
  for (const char* off : {"mnuExport", "mnuImport", "mnuDelete", "mnuChange"})
    EXPECT_FALSE(Action(off)->isEnabled()) << off;
  for (const char* on : {"mnuLogin", "mnuLogout", "mnuSelectAll", "mnuDeselect", "mnuOtherExport",
                         "mnuOtherImport", "mnuQuorvelHome", "mnuAbout", "mnuHelpVersionCheck"})
    EXPECT_TRUE(Action(on)->isEnabled()) << on;
  EXPECT_FALSE(window->filters()->isEnabled());
  EXPECT_EQ(window->windowTitle(), "Quorvel");
}

TEST_F(MainWindow, ControlsCaptionedAndPlacedInTwips) {
  EXPECT_EQ(window->chkAll()->text(), "Perform Operation on all filters in selected databases");
  EXPECT_EQ(window->chkAll()->geometry(), QRect(Px(120), 0, Px(7455), Px(300)));
  auto* label1 = window->findChild<QLabel*>("Label1");
  auto* label2 = window->findChild<QLabel*>("Label2");
  ASSERT_TRUE(label1 && label2);
  EXPECT_EQ(label1->text(), "Db / App");
  EXPECT_EQ(label2->text(), "Filters");
  EXPECT_EQ(label1->pos(), QPoint(Px(120), Px(360)));
  EXPECT_EQ(label2->y(), Px(360));
}

TEST_F(MainWindow, OpensWithTheClientAreaOf7770By7350Twips) {
  EXPECT_EQ(window->centralWidget()->width(), Px(7770));
  EXPECT_EQ(window->centralWidget()->height(), Px(7350));
}

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

struct Size {
  int width, height;  // outer, pixels
};

class Layout : public MainWindow, public ::testing::WithParamInterface<Size> {};

TEST_P(Layout, SingleDatabaseModeSplitsTheWindow) {
  ResizeOuter(GetParam().width, GetParam().height);
  const int W = Tw(window->frameGeometry().width());
  const int H = Tw(window->frameGeometry().height());
  EXPECT_EQ(window->tree()->geometry(), QRect(Px(120), Px(700), Px(W / 2 - 300), Px(H - 1530)));
  EXPECT_EQ(window->filters()->geometry(),
            QRect(Px(W / 2 + 120), Px(700), Px(W / 2 - 300), Px(H - 1530)));
  EXPECT_EQ(window->findChild<QLabel*>("Label2")->x(), Px(W / 2 + 120));
}

TEST_P(Layout, AllDatabasesModeWidensTheTreeAndHidesTheList) {
  window->chkAll()->click();
  ResizeOuter(GetParam().width, GetParam().height);
  const int W = Tw(window->frameGeometry().width());
  EXPECT_EQ(window->tree()->width(), Px(W - 400));
  EXPECT_TRUE(window->filters()->isHidden());
  EXPECT_TRUE(window->findChild<QLabel*>("Label2")->isHidden());
  window->chkAll()->click();
  EXPECT_EQ(window->tree()->width(), Px(W / 2 - 300));
  EXPECT_FALSE(window->filters()->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Sizes, Layout,
                         ::testing::Values(Size{518, 520}, Size{800, 600}, Size{1201, 333}));

TEST_F(MainWindow, NarrowerThan600TwipsKeepsListWidthsButSetsHeights) {
  ResizeOuter(400, 500);
  const int treeWidth = window->tree()->width();
  const int filtersWidth = window->filters()->width();
  ResizeOuter(30, 420);
  ASSERT_LT(Tw(window->frameGeometry().width()), 600);
  const int H = Tw(window->frameGeometry().height());
  EXPECT_EQ(window->tree()->width(), treeWidth);
  EXPECT_EQ(window->filters()->width(), filtersWidth);
  EXPECT_EQ(window->tree()->height(), Px(H - 1530));
  EXPECT_EQ(window->filters()->height(), Px(H - 1530));
  EXPECT_EQ(window->filters()->x(), Px(Tw(window->frameGeometry().width()) / 2 + 120));
}

TEST_F(MainWindow, HourglassEndsWithOneNormalAfterRepeatedBusy) {
  window->SetBusy(true);
  window->SetBusy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  window->SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  window->SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, MessageWithoutTitleShowsProductName) {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  AnswerNextModal(
      [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
      },
      &pollers);
  EXPECT_EQ(
      window->ShowMessage("Gone.", "", desktop::MessageIcon::Critical, desktop::MessageButtons::OK),
      desktop::MessageAnswer::OK);
  EXPECT_EQ(title, "Quorvel");
  EXPECT_EQ(text, "Gone.");
  EXPECT_EQ(icon, QMessageBox::Critical);
}

class YesNo : public MainWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(YesNo, QuestionReturnsTheButtonChosen) {
  const bool yes = GetParam();
  QString title;
  AnswerNextModal(
      [&](QWidget* modal) {
        auto* box = static_cast<QMessageBox*>(modal);
        title = box->windowTitle();
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
      },
      &pollers);
  const auto answer = window->ShowMessage("Sure?", "Change", desktop::MessageIcon::Question,
                                          desktop::MessageButtons::YesNo);
  EXPECT_EQ(answer, yes ? desktop::MessageAnswer::Yes : desktop::MessageAnswer::No);
  EXPECT_EQ(title, "Change");
}

INSTANTIATE_TEST_SUITE_P(Answers, YesNo, ::testing::Bool());

TEST_F(MainWindow, AboutIsModalWithCloseButton) {
  QString caption, close;
  bool hasPicture = false, hasText = false;
  AnswerNextModal(
      [&](QWidget* modal) {
        caption = modal->windowTitle();
        hasPicture = modal->findChild<QWidget*>("Image1") != nullptr;
        hasText = modal->findChild<QWidget*>("txtInfo") != nullptr;
        auto* button = modal->findChild<QAbstractButton*>("Command1");
        if (!button) return static_cast<QDialog*>(modal)->reject();
        close = button->text();
        button->click();
      },
      &pollers);
  Action("mnuAbout")->trigger();
  EXPECT_EQ(caption, "About Quorvel");
  EXPECT_EQ(close, "Close");
  EXPECT_TRUE(hasPicture);
  EXPECT_TRUE(hasText);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindow, LoginPromptRegisteredWhenTheLibraryHasTheHook) {
  EXPECT_TRUE(window->loginPromptRegistered());
  FakeEssbaseApi realLibrary;  // no hook
  QuorvelWindow other(realLibrary, essbase::Generation::V5);
  EXPECT_FALSE(other.loginPromptRegistered());
}

TEST_F(MainWindow, GenerationFiveBuildInitialisesWith0x50200) {
  FakeEssbaseApi api5;
  QuorvelWindow five(api5, essbase::Generation::V5);
  five.menus().mnuLogin->trigger();
  EXPECT_EQ(api5.lastInitVersion, 0x50200u);
}

TEST(Fonts, ApplicationFontHasAFamily) {
  EXPECT_FALSE(QFontInfo(QApplication::font()).family().isEmpty());
}

}  // namespace
}  // namespace quorvel::qt
