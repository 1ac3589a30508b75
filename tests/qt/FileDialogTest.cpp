#include <gtest/gtest.h>

#include <QFileDialog>
#include <QTemporaryDir>

#include "desktop/qt/FileDialog.h"
#include "desktop/qt/OpenUrl.h"
#include "tests/qt/Modal.h"

namespace quorvel::qt {
namespace {

TEST(QtNameFilters, PairsBecomeQtFilters) {
  EXPECT_EQ(QtNameFilters("Text (*.txt)|*.txt|All Files (*.*)|*.*").toStdString(),
            "Text (*.txt);;All Files (*.*)");
}

TEST(QtNameFilters, DescriptionWithoutPatternGetsIt) {
  EXPECT_EQ(QtNameFilters("Lists|*.lst;*.txt").toStdString(), "Lists (*.lst *.txt)");
}

TEST(QtNameFilters, DanglingDescriptionIgnored) {
  EXPECT_EQ(QtNameFilters("Text (*.txt)|*.txt|Orphan").toStdString(), "Text (*.txt)");
  EXPECT_TRUE(QtNameFilters("").isEmpty());
}

TEST(WithScheme, HostWithoutSchemeTakenAsHttp) {
  EXPECT_EQ(WithScheme("www.example.org/quorvel"), "http://www.example.org/quorvel");
}

TEST(WithScheme, SchemeKept) {
  EXPECT_EQ(WithScheme("https://www.example.org/q"), "https://www.example.org/q");
}

TEST(WithScheme, SchemeLikeTextInPathIsNotAScheme) {
  EXPECT_EQ(WithScheme("host/redirect?to=http://x"), "http://host/redirect?to=http://x");
}

class CommonDialog : public ::testing::Test {
 protected:
  desktop::FileDialogOptions Options() const {
    desktop::FileDialogOptions o;
    o.DefaultExt = ".txt";
    o.DialogTitle = "Export filters";
    o.Filter = "Text (*.txt)|*.txt|All Files (*.*)|*.*";
    o.InitDir = dir.path().toStdString();
    o.FileName = "Sample-Basic";
    o.CancelError = true;
    return o;
  }
  QTemporaryDir dir;
  QObject pollers;
};

TEST_F(CommonDialog, SaveAddsTheDefaultExtensionToTheProposedName) {
  QString title;
  testing::AnswerNextModal(
      [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return static_cast<QDialog*>(modal)->reject();
        title = dialog->windowTitle();
        static_cast<QDialog*>(dialog)->accept();
      },
      &pollers);
  const auto result = ShowFileDialog(nullptr, Options(), true);
  EXPECT_EQ(title, "Export filters");
  ASSERT_EQ(result.outcome, desktop::FileDialogResult::Outcome::Chosen);
  EXPECT_EQ(result.path, dir.filePath("Sample-Basic.txt").toStdString());
}

TEST_F(CommonDialog, CancelChoosesNothing) {
  testing::AnswerNextModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); },
                           &pollers);
  const auto result = ShowFileDialog(nullptr, Options(), false);
  EXPECT_EQ(result.outcome, desktop::FileDialogResult::Outcome::Cancelled);
  EXPECT_TRUE(result.path.empty());
}

}  // namespace
}  // namespace quorvel::qt
