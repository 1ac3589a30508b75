#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <memory>

#include "desktop/qt/NodeListModel.h"

namespace quorvel::qt {
namespace {

using desktop::NodeList;

bool SamePicture(const QVariant& decoration, int image) {
  return decoration.value<QPixmap>().toImage() == ListImage(image).toImage();
}

class TreeAdapter : public ::testing::Test {
 protected:
  NodeList list;
  std::unique_ptr<NodeListModel> model = std::make_unique<NodeListModel>(list, false);
  // Checks every change the model announces against Qt's model rules; it
  // goes with the model.
  QAbstractItemModelTester* tester = new QAbstractItemModelTester(
      model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal, model.get());
  void AddApp(const std::string& app) { list.Add("", "App:" + app, app, 1, 1); }
  void AddDb(const std::string& app, const std::string& db) {
    list.Add("App:" + app, "Db:" + app + "-" + db, db, 3);
  }
};

TEST_F(TreeAdapter, DatabasesAppearUnderTheirApplication) {
  AddApp("Sample");
  AddApp("Demo");
  AddDb("Demo", "Basic");
  AddDb("Sample", "Interntl");
  AddDb("Demo", "Xchg");
  ASSERT_EQ(model->rowCount(), 2);
  const QModelIndex demo = model->index(1, 0);
  ASSERT_EQ(model->rowCount(demo), 2);
  EXPECT_EQ(model->index(1, 0, demo).data().toString(), "Xchg");
  EXPECT_EQ(model->parent(model->index(1, 0, demo)), demo);
  EXPECT_EQ(model->NodeOf(model->index(1, 0, demo)), 5);
  EXPECT_EQ(model->index(0, 0, model->index(0, 0)).data().toString(), "Interntl");
  EXPECT_FALSE(model->parent(demo).isValid());
}

TEST_F(TreeAdapter, EachAddIsAnnouncedUnderItsParent) {
  AddApp("Sample");
  QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
  AddDb("Sample", "Basic");
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][0].value<QModelIndex>(), model->index(0, 0));
  EXPECT_EQ(inserted[0][1].toInt(), 0);
}

TEST_F(TreeAdapter, ClearEmptiesTheView) {
  AddApp("Sample");
  AddDb("Sample", "Basic");
  list.Clear();
  EXPECT_EQ(model->rowCount(), 0);
  AddApp("Other");
  EXPECT_EQ(model->rowCount(), 1);
  EXPECT_EQ(model->index(0, 0).data().toString(), "Other");
}

TEST_F(TreeAdapter, NodesAddedBeforeTheModelAreShown) {
  AddApp("Sample");
  AddDb("Sample", "Basic");
  NodeListModel late(list, false);
  ASSERT_EQ(late.rowCount(), 1);
  EXPECT_EQ(late.rowCount(late.index(0, 0)), 1);
}

TEST_F(TreeAdapter, TreeHasNoCheckBoxes) {
  AddApp("Sample");
  EXPECT_FALSE(model->index(0, 0).data(Qt::CheckStateRole).isValid());
  EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsUserCheckable);
  EXPECT_FALSE(model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole));
}

TEST_F(TreeAdapter, MarkingADatabaseChangesItsPicture) {
  AddApp("Sample");
  AddDb("Sample", "Basic");
  const QModelIndex basic = model->index(0, 0, model->index(0, 0));
  EXPECT_TRUE(SamePicture(basic.data(Qt::DecorationRole), 3));
  QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
  list.SetImage(2, 4);
  ASSERT_GE(changed.count(), 1);
  EXPECT_EQ(changed.last()[0].value<QModelIndex>(), basic);
  EXPECT_TRUE(SamePicture(basic.data(Qt::DecorationRole), 4));
}

TEST_F(TreeAdapter, DatabaseWithoutSelectedImageKeepsItsPictureWhenSelected) {
  AddApp("Sample");
  AddDb("Sample", "Basic");
  list.Select(2);
  EXPECT_TRUE(SamePicture(model->index(0, 0, model->index(0, 0)).data(Qt::DecorationRole), 3));
}

TEST_F(TreeAdapter, FullWidthNamesShownWhole) {
  AddApp("ABCDEFGH");
  AddDb("ABCDEFGH", "12345678");
  EXPECT_EQ(model->index(0, 0).data().toString(), "ABCDEFGH");
  EXPECT_EQ(model->index(0, 0, model->index(0, 0)).data().toString(), "12345678");
}

TEST_F(TreeAdapter, ModelGoneListStillUsable) {
  model.reset();
  AddApp("Sample");
  EXPECT_EQ(list.Count(), 1);
}

TEST_F(TreeAdapter, RefillAfterClearKeepsModelRules) {
  for (int round = 0; round < 2; ++round) {
    AddApp("Sample");
    AddApp("Demo");
    AddDb("Demo", "Basic");
    AddDb("Sample", "Interntl");
    list.Select(3);
    list.Clear();
  }
  AddApp("Last");
  EXPECT_EQ(model->rowCount(), 1);
}

// The window's models may outlive the logic's lists when the program ends.
TEST(TreeAdapterLifetime, ListGoneFirstLeavesAnEmptyModel) {
  auto list = std::make_unique<NodeList>();
  list->Add("", "App:Sample", "Sample", 1, 1);
  NodeListModel model(*list, false);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  list.reset();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_FALSE(model.index(0, 0).isValid());
}

class FilterAdapter : public ::testing::Test {
 protected:
  NodeList list;
  NodeListModel model{list, true};
  QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
  int AddFilter(const std::string& name) {
    const int index = list.Add("", "_" + name, name, 3, 4);
    list.SetChecked(index, true);
    return index;
  }
};

TEST_F(FilterAdapter, TicksShownAsCheckStates) {
  AddFilter("f1");
  const int f2 = AddFilter("f2");
  list.SetChecked(f2, false);
  EXPECT_EQ(model.index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_EQ(model.index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
}

TEST_F(FilterAdapter, UserTickWritesTheList) {
  AddFilter("f1");
  EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
  EXPECT_FALSE(list.Checked(1));
  EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
  EXPECT_TRUE(list.Checked(1));
}

TEST_F(FilterAdapter, TextEditsRefused) {
  AddFilter("f1");
  EXPECT_FALSE(model.setData(model.index(0, 0), "renamed", Qt::EditRole));
  EXPECT_EQ(list.Text(1), "f1");
}

TEST_F(FilterAdapter, SelectedFilterShowsItsSelectedImage) {
  AddFilter("f1");
  AddFilter("f2");
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  list.Select(2);
  EXPECT_GE(changed.count(), 1);
  EXPECT_TRUE(SamePicture(model.index(1, 0).data(Qt::DecorationRole), 4));
  EXPECT_TRUE(SamePicture(model.index(0, 0).data(Qt::DecorationRole), 3));
  list.Select(1);
  EXPECT_TRUE(SamePicture(model.index(1, 0).data(Qt::DecorationRole), 3));
}

// Names are the programs' texts, UTF-8: what the client library's single
// bytes hold and what a current server's Unicode names hold.
TEST_F(FilterAdapter, LongAndUnicodeNamesShownWhole) {
  const std::string thirty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
  const std::string long256(256, 'n');
  AddFilter(thirty);
  AddFilter("caf\xc3\xa9");
  AddFilter("\xe6\x9d\xb1\xe4\xba\xac \xe2\x82\xac");
  AddFilter(long256);
  EXPECT_EQ(model.index(0, 0).data().toString().toStdString(), thirty);
  EXPECT_EQ(model.index(1, 0).data().toString(), QString::fromUtf8("caf\u00e9"));
  EXPECT_EQ(model.index(2, 0).data().toString(), QString::fromUtf8("\u6771\u4eac \u20ac"));
  EXPECT_EQ(model.index(3, 0).data().toString().size(), 256);
}

TEST_F(FilterAdapter, FlatListRowsHaveNoChildren) {
  AddFilter("f1");
  EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
  EXPECT_FALSE(model.index(0, 0, model.index(0, 0)).isValid());
  EXPECT_FALSE(model.index(1, 0).isValid());
  EXPECT_FALSE(model.index(0, 1).isValid());
}

}  // namespace
}  // namespace quorvel::qt

namespace quorvel::qt {
namespace {

TEST(ListImages, UsedPicturesDifferFromEachOther) {
  const QImage application = ListImage(1).toImage();
  const QImage database = ListImage(3).toImage();
  const QImage marked = ListImage(4).toImage();
  EXPECT_NE(application, database);
  EXPECT_NE(database, marked);
  EXPECT_NE(application, marked);
}

TEST(ListImages, IndexOutsideTheListHasNoPicture) {
  EXPECT_TRUE(ListImage(0).isNull());
  EXPECT_TRUE(ListImage(ImageCount + 1).isNull());
  EXPECT_FALSE(ListImage(2).isNull());
}

TEST(ListImages, DrawnAtTheSizeAsked) {
  EXPECT_EQ(ListImage(4, 48).size(), QSize(48, 48));
  EXPECT_EQ(ListImage(3).size(), QSize(ImageSize, ImageSize));
  EXPECT_TRUE(ListImage(3, 0).isNull());
}

}  // namespace
}  // namespace quorvel::qt
