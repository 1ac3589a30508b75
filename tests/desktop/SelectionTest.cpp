#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

class SelectionTest : public DesktopTest {
 protected:
  void SetUp() override { StartAndLogin(); }
};

TEST_F(SelectionTest, SingleModeIsSelectedDatabaseAndTickedFiltersInListOrder) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  form.filters().SetChecked(2, false);
  const Selection s = form.ReadSelection();
  EXPECT_FALSE(s.allDatabases);
  EXPECT_EQ(s.databases, (std::vector<SelectedDatabase>{{"Sample", "Basic"}}));
  EXPECT_EQ(s.tickedFilters, (std::vector<std::string>{"ReadAll", "WriteWest"}));
}

TEST_F(SelectionTest, ApplicationSelectedNamesNoDatabase) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  form.tree_NodeClick(Node("App:Demo"));
  EXPECT_TRUE(form.ReadSelection().databases.empty());
}

TEST_F(SelectionTest, NothingSelectedAfterLoginNamesNoDatabase) {
  EXPECT_TRUE(form.ReadSelection().databases.empty());
}

TEST_F(SelectionTest, AllModeIsEveryMarkedDatabaseInTreeOrder) {
  form.tree_NodeClick(Node("Db:Sample-Basic"));
  form.chkAll_Click(1);
  for (const char* key : {"Db:Demo-Basic", "Db:Sample-Interim", "Db:Sample-Basic"}) {
    form.tree_NodeClick(Node(key));
    form.tree_DblClick();
  }
  form.tree_NodeClick(Node("Db:Sample-Interim"));
  form.tree_DblClick();  // unmarked again
  const Selection s = form.ReadSelection();
  EXPECT_TRUE(s.allDatabases);
  EXPECT_EQ(s.databases, (std::vector<SelectedDatabase>{{"Sample", "Basic"}, {"Demo", "Basic"}}));
  EXPECT_EQ(s.tickedFilters.size(), 3u);  // the hidden list's ticks, for Export
}

}  // namespace
}  // namespace desktop::testing
