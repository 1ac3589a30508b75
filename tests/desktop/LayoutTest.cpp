#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

class LayoutTest : public DesktopTest {
 protected:
  const ControlView& View(Control c) { return port.view.at(c); }
};

TEST_F(LayoutTest, SingleModeSplitsTheWindow) {
  form.Form_Resize(9000, 8000);
  EXPECT_EQ(View(Control::tree).width, 4200);
  EXPECT_EQ(View(Control::tree).height, 6470);
  EXPECT_EQ(View(Control::tree).top, 700);
  EXPECT_EQ(View(Control::tree).left, 120);
  EXPECT_EQ(View(Control::filters).width, 4200);
  EXPECT_EQ(View(Control::filters).height, 6470);
  EXPECT_EQ(View(Control::filters).top, 700);
  EXPECT_EQ(View(Control::filters).left, 4620);
  EXPECT_EQ(View(Control::Label1).left, 120);
  EXPECT_EQ(View(Control::Label2).left, 4620);
  EXPECT_EQ(form.tree().Width(), 4200);
  EXPECT_EQ(form.filters().Width(), 4200);
}

TEST_F(LayoutTest, AllDatabasesModeResizeKeepsTreeWideAndListHidden) {
  form.Form_Resize(9000, 8000);
  form.chkAll_Click(1);
  form.Form_Resize(12000, 8000);
  EXPECT_EQ(View(Control::tree).width, 11600);
  EXPECT_FALSE(form.filters().Visible());
  EXPECT_FALSE(View(Control::filters).visible);
}

TEST_F(LayoutTest, NarrowWindowKeepsOldWidthsButSetsTheRest) {
  form.Form_Resize(9000, 8000);
  port.ClearLog();
  form.Form_Resize(500, 7000);
  EXPECT_EQ(form.tree().Width(), 4200);
  EXPECT_EQ(form.filters().Width(), 4200);
  EXPECT_EQ(View(Control::tree).width, 4200);
  EXPECT_EQ(View(Control::tree).height, 5470);
  EXPECT_EQ(View(Control::filters).height, 5470);
  EXPECT_EQ(View(Control::filters).left, 370);
  EXPECT_EQ(View(Control::Label2).left, 370);
  // A negative width never reaches the control.
  EXPECT_EQ(port.LogText().find("SetWidth"), std::string::npos);
}

TEST_F(LayoutTest, LowWindowKeepsOldHeightsButSetsWidths) {
  form.Form_Resize(9000, 8000);
  form.Form_Resize(7000, 1000);
  EXPECT_EQ(View(Control::tree).height, 6470);
  EXPECT_EQ(View(Control::tree).width, 3200);
  EXPECT_EQ(View(Control::filters).left, 3620);
}

TEST_F(LayoutTest, RefusedAssignmentSkippedAndTheNextStillMade) {
  form.Form_Resize(9000, 8000);
  port.refuseWidth.insert(Control::tree);
  form.Form_Resize(10000, 9000);
  EXPECT_EQ(form.tree().Width(), 4200);
  EXPECT_EQ(View(Control::tree).height, 7470);
  EXPECT_EQ(form.filters().Width(), 4700);
}

TEST_F(LayoutTest, TickingChkAllUsesTheLastWindowWidth) {
  form.Form_Resize(10000, 8000);
  form.chkAll_Click(1);
  EXPECT_EQ(form.tree().Width(), 9600);
  form.chkAll_Click(0);
  EXPECT_EQ(form.tree().Width(), 4700);
}

}  // namespace
}  // namespace desktop::testing
