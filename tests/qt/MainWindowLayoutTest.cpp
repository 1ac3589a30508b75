// Where the main window's controls are, at opening and on every resize.
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>

#include "tests/qt/MainWindowFixture.h"

namespace quorvel::qt::testing {
namespace {

TEST_F(MainWindow, ControlsCaptionedAndPlacedInTwips) {
  EXPECT_EQ(window->chkAll()->text(), "Perform Operation on all filters in selected databases");
  EXPECT_EQ(window->chkAll()->geometry(), QRect(Px(120), 0, Px(7455), Px(300)));
  // What a screen reader reports and a click reaches is the whole placed box.
  QAccessibleInterface* reported = QAccessible::queryAccessibleInterface(window->chkAll());
  ASSERT_NE(reported, nullptr);
  EXPECT_EQ(reported->rect().size(), QSize(Px(7455), Px(300)));
  QTest::mouseClick(window->chkAll(), Qt::LeftButton, {}, QPoint(Px(7455) - 2, Px(300) / 2));
  EXPECT_EQ(logic->chkAll(), 1);
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

}  // namespace
}  // namespace quorvel::qt::testing
