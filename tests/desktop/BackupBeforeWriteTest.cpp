#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "backup/LoadBackup.h"
#include "desktop/BackupBeforeWrite.h"
#include "desktop/Messages.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

class BackupBeforeWriteTest : public DesktopTest {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    StartAndLogin();
  }
  void TearDown() override { unsetenv("XDG_STATE_HOME"); }
  essbase::Session& session() { return form.session(); }
  backup::testing::TempFolder state;
};

TEST_F(BackupBeforeWriteTest, DroppedSessionLogsInAgainAndTheBackupIsWhole) {
  fake.Fail("EsbListFilters", ESB_STS_RELOGIN);
  const backup::BackupOutcome outcome = BackupBeforeWrite(
      session(), "delete", {{"Sample", "Basic", std::vector<std::string>{"NoEast"}, false}});
  ASSERT_EQ(outcome.result, backup::BackupResult::Written) << outcome.reason;
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 2);
  std::string reason;
  const auto loaded = backup::LoadBackup(outcome.path, reason);
  ASSERT_TRUE(loaded) << reason;
  EXPECT_EQ(loaded->info.server, form.connection().Server);
  ASSERT_EQ(loaded->info.filters.size(), 1u);
  EXPECT_EQ(loaded->info.filters[0].name, "NoEast");
}

TEST_F(BackupBeforeWriteTest, UnusableFolderIsACriticalMessageNamingTheFolder) {
  backup::testing::WriteFile(state / "quorvel", "in the way");
  const backup::BackupOutcome outcome = BackupBeforeWrite(
      session(), "change",
      std::vector<backup::FilterCopy>{{"Sample", "Basic", "ReadAll", 1, 375, {{273, "r"}}}});
  EXPECT_FALSE(outcome.mayWrite());
  const std::string message = BackupFailedMessage(outcome);
  EXPECT_NE(message.find(state / "quorvel/backups"), std::string::npos) << message;
  EXPECT_EQ(message.rfind(std::string(msg::BackupFailed), 0), 0u);
}

}  // namespace
}  // namespace desktop::testing
