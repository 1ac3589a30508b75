#include <gtest/gtest.h>

#include "desktop/NodeList.h"

namespace desktop {
namespace {

class RecordingObserver : public NodeListObserver {
 public:
  std::string events;
  void Reset() override { events += "R "; }
  void Added(int i) override { events += "A" + std::to_string(i) + " "; }
  void Changed(int i) override { events += "C" + std::to_string(i) + " "; }
  void StateChanged() override { events += "S "; }
};

TEST(NodeList, IndexesFollowInsertionOrderWithParents) {
  NodeList list;
  EXPECT_EQ(list.Add("", "App:B", "B", 1, 1), 1);
  EXPECT_EQ(list.Add("", "App:A", "A", 1, 1), 2);
  EXPECT_EQ(list.Add("App:A", "Db:A-x", "x", 3), 3);
  EXPECT_EQ(list.Add("App:B", "Db:B-y", "y", 3), 4);
  EXPECT_EQ(list.Dump(),
            "1|App:B|B|0|1|1|-\n"
            "2|App:A|A|0|1|1|-\n"
            "3|Db:A-x|x|2|3|0|-\n"
            "4|Db:B-y|y|1|3|0|-\n");
}

TEST(NodeList, UnknownParentAddsNothing) {
  NodeList list;
  list.Add("", "App:A", "A", 1, 1);
  EXPECT_EQ(list.Add("App:Z", "Db:Z-x", "x", 3), 0);
  EXPECT_EQ(list.Count(), 1);
}

TEST(NodeList, DuplicateKeyRefusedAndFirstNodeKept) {
  NodeList list;
  list.Add("", "_f", "first", 3, 4);
  EXPECT_EQ(list.Add("", "_f", "second", 3, 4), 0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Text(list.Find("_f")), "first");
}

TEST(NodeList, KeysDifferingInCaseAreDistinct) {
  NodeList list;
  EXPECT_EQ(list.Add("", "App:abc", "abc", 1), 1);
  EXPECT_EQ(list.Add("", "App:ABC", "ABC", 1), 2);
  EXPECT_EQ(list.Find("App:ABC"), 2);
}

TEST(NodeList, AccessOutOfRangeGivesEmptyAndRefusesWrites) {
  NodeList list;
  list.Add("", "k", "t", 3);
  for (int bad : {0, -1, 2}) {
    EXPECT_EQ(list.Text(bad), "");
    EXPECT_EQ(list.Image(bad), 0);
    EXPECT_FALSE(list.Checked(bad));
    EXPECT_FALSE(list.SetChecked(bad, true));
    EXPECT_FALSE(list.SetImage(bad, 4));
    EXPECT_FALSE(list.SetText(bad, "x"));
    EXPECT_EQ(list.At(bad), nullptr);
  }
  EXPECT_FALSE(list.Select(2));
  EXPECT_EQ(list.Selected(), 0);
}

TEST(NodeList, ClearForgetsKeysAndSelection) {
  NodeList list;
  list.Add("", "k", "t", 3);
  list.Select(1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Selected(), 0);
  EXPECT_EQ(list.Find("k"), 0);
  EXPECT_EQ(list.Add("", "k", "again", 3), 1);
}

TEST(NodeList, NegativeWidthRefusedOldKept) {
  NodeList list;
  EXPECT_TRUE(list.SetWidth(4200));
  EXPECT_FALSE(list.SetWidth(-50));
  EXPECT_EQ(list.Width(), 4200);
}

TEST(NodeList, ManyKeysFoundAcrossIndexGrowth) {
  NodeList list;
  for (int round = 0; round < 2; ++round) {  // the second round reuses a cleared index
    list.Clear();
    for (int i = 0; i < 5000; ++i)
      ASSERT_EQ(list.Add("", "_f" + std::to_string(i), "f" + std::to_string(i), 3, 4), i + 1);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(list.Find("_f" + std::to_string(i)), i + 1);
    for (int i = 0; i < 5000; i += 97) EXPECT_EQ(list.Add("", "_f" + std::to_string(i), "x", 3), 0);
    EXPECT_EQ(list.Find("_f5000"), 0);
    EXPECT_EQ(list.Find("_f"), 0);
    EXPECT_EQ(list.Count(), 5000);
  }
}

TEST(NodeList, FindOnEmptyListFindsNothing) {
  NodeList list;
  EXPECT_EQ(list.Find(""), 0);
  EXPECT_EQ(list.Find("App:A"), 0);
}

TEST(NodeList, ObserverHearsEveryChange) {
  NodeList list;
  RecordingObserver obs;
  list.SetObserver(&obs);
  list.Add("", "k", "t", 3);
  list.SetChecked(1, true);
  list.SetImage(1, 4);
  list.Select(1);
  list.SetEnabled(false);
  list.Add("missing", "k2", "t", 3);  // refused: no event
  list.Clear();
  EXPECT_EQ(obs.events, "A1 C1 C1 S S R ");
}

}  // namespace
}  // namespace desktop
