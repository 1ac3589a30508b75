#pragma once
// The main window as the program puts it together, over a fake server with
// Sample (Basic with f1..f3, Interntl) and Demo (Basic).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <memory>

#include "desktop/frmQuorvel.h"
#include "desktop/qt/ListControl.h"
#include "desktop/qt/NodeListModel.h"
#include "desktop/qt/QuorvelWindow.h"
#include "desktop/qt/Twips.h"
#include "tests/support/FakeEssbaseApi.h"
#include "tests/support/TestFiles.h"

namespace quorvel::qt::testing {

using essbase::testing::FakeEssbaseApi;

inline int Px(int twips) {
  return TwipsToPixels(twips, ScreenDpi());
}
inline int Tw(int pixels) {
  return PixelsToTwips(pixels, ScreenDpi());
}

class MainWindow : public ::testing::Test {
 protected:
  // The server's content; a fixture that needs other filters replaces it.
  virtual void AddContent() {
    api.AddFilter("Sample", "Basic", "f1");
    api.AddFilter("Sample", "Basic", "f2");
    api.AddFilter("Sample", "Basic", "f3");
    api.AddDatabase("Sample", "Interntl");
    api.AddDatabase("Demo", "Basic");
  }
  void SetUp() override {
    AddContent();
    api.promptAvailable = true;
    window = std::make_unique<QuorvelWindow>(essbase::Generation::V6);
    logic = std::make_unique<desktop::frmQuorvel>(api, *window, essbase::Generation::V6,
                                                  backup::Place{stateHome / "backups"});
    window->Attach(*logic);
    window->show();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    window.reset();
    logic.reset();
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
  support::TempDir stateHome{"quorvel-state"};
  std::unique_ptr<QuorvelWindow> window;
  std::unique_ptr<desktop::frmQuorvel> logic;
  QObject pollers;  // ends pending modal answers with the test
};

}  // namespace quorvel::qt::testing
