// The Backups and Compare with File windows over a server given as a URL,
// with application, database and filter names of 30, 30 and 256 characters
// beyond Latin-1, and backups and files in folders whose paths are not
// ASCII: the widgets show every name and path as the server and the file
// system have them.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QTableView>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "desktop/Messages.h"
#include "desktop/frmQuorvel.h"
#include "desktop/qt/BackupsWindow.h"
#include "desktop/qt/ComparisonTable.h"
#include "desktop/qt/ComparisonWindow.h"
#include "desktop/qt/NodeListModel.h"
#include "desktop/qt/QuorvelWindow.h"
#include "essbase/library/LibraryApi.h"
#include "essbase/rest/RestServer.h"
#include "filterfile/TextEncoding.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ServeProcess.h"
#include "tests/support/TestFiles.h"

namespace quorvel::qt {
namespace {

namespace msg = desktop::msg;

std::string Times(const std::string& s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

const std::string kE = "\xC3\xA9";                      // é
const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";  // 東京
const std::string kEuro = "\xE2\x82\xAC";
const std::string kRegion = "R" + kE + "gion";
// 30, 30 and 256 characters.
const std::string kApp = "Efficient_Filters_" + kRegion + "_" + kTokyo + Times(kEuro, 3);
const std::string kDb = "Donn" + kE + "es_" + kTokyo + "_Budget_Plan_Actuals";
const std::string kFilter = Times(kRegion + kTokyo + kEuro, 28) + "1234";
const std::string kBudget = kEuro + " Budget";
// Names that all fit Latin-1, whose backup is written in Latin-1.
const std::string kCafe = "Caf" + kE, kZurich = "Z\xC3\xBCrich";

std::string Database(const std::string& app, const std::string& db) {
  return "app\t" + app + "\tloaded\ndb\t" + app + "\t" + db + "\n";
}
std::string Filter(const std::string& app, const std::string& db, const std::string& name,
                   const std::string& row) {
  return "filter\t" + app + "\t" + db + "\t" + name + "\t1\t375\nrow\t273\t" + row + "\n";
}

const std::string Description = "server\tessdemo\nuser\tdemo\tdemo\t275\n" + Database(kApp, kDb) +
                                Filter(kApp, kDb, kFilter, "\"" + kTokyo + "\"") +
                                Filter(kApp, kDb, kBudget, kBudget) + Database(kRegion, kCafe) +
                                Filter(kRegion, kCafe, kZurich, kZurich);

// What a widget shows, in UTF-8.
std::string Shown(const QString& text) {
  return text.toUtf8().toStdString();
}

// A table's cells of one line, joined by "|".
std::string Line(const QTableView* table, int row) {
  std::string out;
  for (int c = 0; c < table->model()->columnCount(); ++c)
    out += (c ? "|" : "") + Shown(table->model()->index(row, c).data().toString());
  return out;
}

// The window with its modal showings answered in place: a question is
// answered Yes, the open dialog gives `chosen`, and the Backups and
// comparison windows are built as the window builds them, shown without a
// modal loop and handed to the test.
class AnsweredWindow : public QuorvelWindow {
 public:
  using QuorvelWindow::QuorvelWindow;

  desktop::MessageAnswer ShowMessage(std::string_view text, std::string_view, desktop::MessageIcon,
                                     desktop::MessageButtons buttons) override {
    messages.emplace_back(text);
    return buttons == desktop::MessageButtons::YesNo ? desktop::MessageAnswer::Yes
                                                     : desktop::MessageAnswer::OK;
  }
  desktop::FileDialogResult ShowOpen(const desktop::FileDialogOptions&) override {
    return {desktop::FileDialogResult::Outcome::Chosen, chosen};
  }
  void ShowComparison(const desktop::ComparisonView& view) override {
    ComparisonWindow window(view, this);
    window.show();
    onComparison(window);
  }
  void ShowBackups(desktop::BackupsHandler& handler) override {
    BackupsWindow window(handler, this);
    window.show();
    onBackups(window);
  }

  std::vector<std::string> messages;
  std::string chosen;
  std::function<void(ComparisonWindow&)> onComparison = [](ComparisonWindow&) {};
  std::function<void(BackupsWindow&)> onBackups = [](BackupsWindow&) {};
};

class RestUnicodeWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string esbsim = QCoreApplication::applicationDirPath().toStdString() + "/esbsim";
    const std::string store = dir / "server.db";
    const support::CapturedRun load =
        support::RunCaptured(esbsim, {"load", store, "-"}, Description);
    ASSERT_EQ(load.status, 0) << load.err;
    serve = std::make_unique<support::ServeProcess>(esbsim, store);
    ASSERT_FALSE(serve->url().empty()) << serve->errors();
    window = std::make_unique<AnsweredWindow>(essbase::Generation::V6);
    logic = std::make_unique<desktop::frmQuorvel>(
        api, *window, essbase::Generation::V6, backup::Place{backups},
        [] { return std::make_unique<essbase::rest::RestServer>(); });
    window->Attach(*logic);
    logic->session().SetLoginPrompt(
        [this](std::string& server, std::string& user, std::string& password) {
          server = serve->url();
          user = password = "demo";
          return 0;
        });
    window->show();
    window->findChild<QAction*>("mnuLogin")->trigger();
  }
  void TearDown() override {
    window.reset();
    logic.reset();
  }
  // Deletes one filter of a database through the window, which backs it up first.
  void Delete(const std::string& app, const std::string& db, const std::string& filter) {
    desktop::frmQuorvel& form = window->logic();
    form.tree_NodeClick(form.tree().Find("Db:" + app + "-" + db));
    ASSERT_GT(form.filters().Count(), 0) << app << "/" << db;
    for (int i = 1; i <= form.filters().Count(); ++i)
      form.filters().SetChecked(i, form.filters().Text(i) == filter);
    window->findChild<QAction*>("mnuDelete")->trigger();
  }

  support::TempDir dir{"quorvel-qt-rest"};
  const std::string backups = dir / ("Sauvegardes " + kTokyo + " " + kEuro);
  // Not loaded: the prompt is asked by the session, and only a URL is served.
  essbase::LibraryApi api;
  std::unique_ptr<support::ServeProcess> serve;
  std::unique_ptr<AnsweredWindow> window;
  std::unique_ptr<desktop::frmQuorvel> logic;
};

TEST_F(RestUnicodeWindows, BackupsAndComparisonShowNamesAndPathsAsTheyAre) {
  ASSERT_EQ(window->logic().connection().Server, serve->url());
  NodeListModel* tree = window->treeModel();
  ASSERT_EQ(tree->rowCount(), 2);
  EXPECT_EQ(Shown(tree->index(0, 0).data().toString()), kApp);
  EXPECT_EQ(Shown(tree->index(0, 0, tree->index(0, 0)).data().toString()), kDb);

  // One backup in UTF-8, one in Latin-1.
  Delete(kApp, kDb, kFilter);
  Delete(kRegion, kCafe, kZurich);
  std::string folderLabel;
  // Each backup's server and databases as listed, and the first line of
  // what restoring it would change.
  std::set<std::string> listed;
  window->onBackups = [&](BackupsWindow& shown) {
    folderLabel = Shown(shown.findChild<QLabel*>("lblBackups")->text());
    QTableView* list = shown.backups();
    for (int row = 0; row < list->model()->rowCount(); ++row) {
      list->selectRow(row);
      listed.insert(Shown(list->model()->index(row, 2).data().toString()) + " " +
                    Shown(list->model()->index(row, 3).data().toString()) + ": " +
                    Line(shown.comparison()->table(), 0));
    }
  };
  window->findChild<QAction*>("mnuRestore")->trigger();
  EXPECT_EQ(folderLabel, msg::BackupsFolderLabel(backups));
  const std::string created = "|" + std::string(msg::DiffCreated) + "|" + msg::RowCount(1) + "||";
  const std::string unicode = kApp + "/" + kDb, latin1 = kRegion + "/" + kCafe;
  EXPECT_EQ(listed, (std::set<std::string>{
                        serve->url() + " " + unicode + ": " + unicode + "|" + kFilter + created,
                        serve->url() + " " + latin1 + ": " + latin1 + "|" + kZurich + created}));

  // A file in a folder whose path is not ASCII, with a row the server lacks.
  const std::string files = dir / ("Fichiers " + kTokyo);
  std::filesystem::create_directory(files);
  window->chosen = files + "/entr" + kE + "e.txt";
  support::WriteFile(window->chosen, std::string(filterfile::Utf8Mark) + "x\ty\t" + kBudget +
                                         "\t273\t" + kBudget + "\r\r\nx\ty\t" + kBudget +
                                         "\t275\t" + kRegion + "\r\r\n");
  std::string title, summary, lines;
  window->onComparison = [&](ComparisonWindow& shown) {
    title = Shown(shown.windowTitle());
    summary = Shown(shown.comparison()->summary()->text());
    for (int row = 0; row < shown.comparison()->table()->model()->rowCount(); ++row)
      lines += Line(shown.comparison()->table(), row) + "\n";
  };
  window->logic().tree_NodeClick(window->logic().tree().Find("Db:" + kApp + "-" + kDb));
  window->findChild<QAction*>("mnuCompare")->trigger();
  EXPECT_EQ(title, msg::CompareDialogTitle);
  EXPECT_EQ(summary.rfind(unicode + " against " + window->chosen + ": ", 0), 0u) << summary;
  EXPECT_EQ(lines, kBudget + "|" + std::string(msg::DiffRowAdded) + "|" + kRegion + "||Write\n");
  // Nothing went wrong on the way: the deletions' questions alone.
  EXPECT_EQ(window->messages, std::vector<std::string>(2, std::string(msg::DeleteQuestion)));
}

}  // namespace
}  // namespace quorvel::qt
