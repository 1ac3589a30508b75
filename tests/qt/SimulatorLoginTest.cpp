// The desktop window on the simulated server's real library, loaded by name
// as the program loads it, with the window's own login prompt.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <memory>

#include "desktop/frmQuorvel.h"
#include "desktop/qt/ListControl.h"
#include "desktop/qt/LoginPrompt.h"
#include "desktop/qt/NodeListModel.h"
#include "desktop/qt/QuorvelWindow.h"
#include "essbase/library/LibraryApi.h"
#include "tests/qt/Modal.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TestFiles.h"

namespace quorvel::qt {
namespace {

using testing::AnswerNextModal;

constexpr const char* Description =
    "server\tqtsrv\n"
    "user\tana\tpw1\t275\n"
    "app\tFinance\tloaded\n"
    "db\tFinance\tPlan\n"
    "db\tFinance\tActuals\n"
    "filter\tFinance\tPlan\tPlanRead\t1\t375\n"
    "row\t273\t\"Plan\"\n"
    "filter\tFinance\tPlan\tABCDEFGHIJKLMNOPQRSTUVWXYZ0123\t1\t375\n"
    "row\t275\t\"Budget\"\n"
    "app\tABCDEFGH\tunloaded\n"
    "db\tABCDEFGH\t12345678\n";

class SimulatorLogin : public ::testing::TestWithParam<essbase::Generation> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    const std::string store = dir / "server.db";
    const std::string esbsim = QCoreApplication::applicationDirPath().toStdString() + "/esbsim";
    const support::CapturedRun load =
        support::RunCaptured(esbsim, {"load", store, "-"}, Description);
    ASSERT_EQ(load.status, 0) << load.err;
    setenv("ESBSIM_STORE", store.c_str(), 1);
    unsetenv("ESBSIM_PROMPT_USER");
    unsetenv("ESBSIM_PROMPT_PASSWORD");
    ASSERT_TRUE(api.loaded()) << api.loadError();
    window = std::make_unique<QuorvelWindow>(GetParam());
    logic = std::make_unique<desktop::frmQuorvel>(api, *window, GetParam(),
                                                  backup::Place{dir / "backups"});
    window->Attach(*logic);
    window->show();
  }
  void TearDown() override {
    window.reset();
    logic.reset();
  }

  // Answers the login prompt with user and password, then the next modal
  // window with `next` if given; returns the server the prompt offered.
  QString Login(const QString& user, const QString& password,
                std::function<void(QWidget*)> next = nullptr) {
    auto offered = std::make_shared<QString>();
    AnswerNextModal(
        [this, offered, user, password, next](QWidget* modal) {
          auto* dialog = qobject_cast<LoginDialog*>(modal);
          if (!dialog) return static_cast<QDialog*>(modal)->reject();
          *offered = dialog->server()->text();
          dialog->user()->setText(user);
          dialog->password()->setText(password);
          if (next) AnswerNextModal(next, &pollers);
          dialog->accept();
        },
        &pollers);
    window->menus().mnuLogin->trigger();
    return *offered;
  }

  support::TempDir dir{"quorvel-qt"};
  essbase::LibraryApi api{"libesbapin.so"};
  std::unique_ptr<QuorvelWindow> window;
  std::unique_ptr<desktop::frmQuorvel> logic;
  QObject pollers;
};

TEST_P(SimulatorLogin, PromptLogsInAndTheTreeShowsTheServer) {
  ASSERT_TRUE(window->loginPromptRegistered());
  EXPECT_EQ(Login("ana", "pw1"), "qtsrv");
  NodeListModel* tree = window->treeModel();
  ASSERT_EQ(tree->rowCount(), 2);
  EXPECT_EQ(tree->index(0, 0).data().toString(), "Finance");
  EXPECT_EQ(tree->index(1, 0).data().toString(), "ABCDEFGH");
  ASSERT_EQ(tree->rowCount(tree->index(0, 0)), 2);
  EXPECT_EQ(tree->index(1, 0, tree->index(0, 0)).data().toString(), "Actuals");
  EXPECT_EQ(tree->index(0, 0, tree->index(1, 0)).data().toString(), "12345678");
  EXPECT_EQ(window->logic().connection().User, "ana");
}

TEST_P(SimulatorLogin, ClickedDatabaseListsItsFiltersTicked) {
  Login("ana", "pw1");
  const QModelIndex plan = window->treeModel()->index(0, 0, window->treeModel()->index(0, 0));
  ListControl* view = window->tree();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(plan).center());
  NodeListModel* filters = window->filtersModel();
  ASSERT_EQ(filters->rowCount(), 2);
  EXPECT_EQ(filters->index(1, 0).data().toString(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
  EXPECT_EQ(filters->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_TRUE(window->menus().mnuChange->isEnabled());
}

TEST_P(SimulatorLogin, WrongPasswordReportedTreeUnchanged) {
  Login("ana", "pw1");
  QString title, text;
  Login("ana", "wrong", [&](QWidget* modal) {
    title = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) text = box->text();
    static_cast<QDialog*>(modal)->done(0);
  });
  EXPECT_EQ(title, "Vuzuvaz Orezez");
  EXPECT_EQ(text, "An error occured and you are not logged in.");
  EXPECT_EQ(window->treeModel()->rowCount(), 2);
}

TEST_P(SimulatorLogin, CancelledPromptIsSilentTreeUnchanged) {
  Login("ana", "pw1");
  QString unexpected;
  AnswerNextModal(
      [&](QWidget* modal) {
        AnswerNextModal(
            [&](QWidget* next) {
              unexpected = next->windowTitle();
              static_cast<QDialog*>(next)->done(0);
            },
            &pollers);
        static_cast<QDialog*>(modal)->reject();
      },
      &pollers);
  window->menus().mnuLogin->trigger();
  EXPECT_EQ(unexpected, "");
  EXPECT_EQ(window->treeModel()->rowCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Generations, SimulatorLogin,
                         ::testing::Values(essbase::Generation::V6, essbase::Generation::V5),
                         [](const auto& info) {
                           return info.param == essbase::Generation::V6 ? "V6" : "V5";
                         });

}  // namespace
}  // namespace quorvel::qt
