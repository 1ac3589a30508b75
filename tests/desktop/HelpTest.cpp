#include "desktop/HelpCommands.h"
#include "desktop/Messages.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

struct VersionCase {
  const char* name;
  const char* body;
  bool current;
};

class VersionCheckTest : public DesktopTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionCheckTest, ExactComparisonDecides) {
  port.httpBodies.push_back(std::string(GetParam().body));
  form.mnuHelpVersionCheck_Click();
  ASSERT_EQ(port.messages.size(), 1u);
  const auto& m = port.messages[0];
  EXPECT_EQ(m.text, GetParam().current ? msg::VersionCurrent() : msg::NewerVersion());
  EXPECT_EQ(m.title, "Update Available");
  EXPECT_EQ(m.icon, MessageIcon::Information);
  EXPECT_EQ(m.buttons, MessageButtons::OK);
  EXPECT_EQ(port.log.at(0),
            "HttpGet(http://" + std::string(msg::SiteHost) + "/quorvel/version.txt)");
}

INSTANTIATE_TEST_SUITE_P(Bodies, VersionCheckTest,
                         ::testing::Values(VersionCase{"Exact", "1.6.1458", true},
                                           VersionCase{"TrailingNewline", "1.6.1458\n", false},
                                           VersionCase{"TrailingCrLf", "1.6.1458\r\n", false},
                                           VersionCase{"TrailingBlank", "1.6.1458 ", false},
                                           VersionCase{"LeadingZeros", "1.06.1458", false},
                                           VersionCase{"Older", "1.5.0", false},
                                           VersionCase{"Newer", "1.7.0", false},
                                           VersionCase{"EmptyBody", "", false},
                                           VersionCase{"ErrorPage", "<html>404</html>", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VersionTexts, ByteForByte) {
  EXPECT_EQ(msg::VersionCurrent(),
            "The version of Quorvel is current.  There are no updates available.");
  EXPECT_EQ(msg::NewerVersion(), "A more recent version of Quorvel is available.  Please visit " +
                                     std::string(msg::SiteHost) + " for more details.");
}

TEST(RunningVersion, MajorMinorRevisionWithoutLeadingZeros) {
  EXPECT_EQ(RunningVersion(), "1.6.1458");
}

class HelpTest : public DesktopTest {};

TEST_F(HelpTest, NoTextAtAllSaysSoPlainly) {
  form.mnuHelpVersionCheck_Click();  // the script has no body: nothing came back
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_EQ(port.messages[0].text, msg::VersionUnknown());
  EXPECT_EQ(port.messages[0].icon, MessageIcon::Information);
  EXPECT_NE(port.messages[0].text, msg::NewerVersion());
}

TEST_F(HelpTest, HomePageIsHostAndPathWithoutScheme) {
  form.mnuQuorvelHome_Click();
  EXPECT_EQ(port.LogText(), "OpenUrl(" + std::string(msg::SiteHost) + "/quorvel)\n");
  EXPECT_EQ(port.LogText().find("://"), std::string::npos);
}

TEST_F(HelpTest, HelpWorksLoggedOutAndCallsNoServer) {
  form.Form_Load();
  form.mnuAbout_Click();
  form.mnuQuorvelHome_Click();
  port.httpBodies.push_back("1.6.1458");
  form.mnuHelpVersionCheck_Click();
  EXPECT_EQ(fake.CallsText(), "");
  EXPECT_NE(port.LogText().find("ShowAbout()\n"), std::string::npos);
}

TEST_F(HelpTest, AboutSaysWhereBackupsAreAndHowLongTheyAreKept) {
  form.mnuAbout_Click();
  EXPECT_NE(port.aboutBackups.find("\n" + stateHome / "backups" + "\n"), std::string::npos)
      << port.aboutBackups;
  EXPECT_NE(port.aboutBackups.find("older than 30 days"), std::string::npos);
}

TEST(AboutBackups, KeptForEverOrNoFolderAtAllIsSaidSo) {
  EXPECT_NE(msg::AboutBackups("/b", 0).find("kept until you delete them"), std::string::npos);
  EXPECT_NE(msg::AboutBackups("", 30).find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace desktop::testing
