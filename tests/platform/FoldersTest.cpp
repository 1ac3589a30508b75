#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "tests/support/TestEnvironment.h"
#include "platform/Folder.h"
#include "platform/ProgramFolder.h"
#include "platform/StateFolder.h"
#include "tests/support/TestFiles.h"

namespace platform {
namespace {

#ifndef _WIN32
unsigned ModeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}
#endif

TEST(ProgramFolder, NamesAFileBesideTheRunningProgram) {
  const std::string self = BesideProgram(TEST_PROGRAM);
  ASSERT_FALSE(self.empty());
  EXPECT_TRUE(std::filesystem::path(self).is_absolute());
  EXPECT_TRUE(std::filesystem::is_regular_file(self)) << self;
  EXPECT_EQ(BesideProgram(""), self.substr(0, self.size() - std::string(TEST_PROGRAM).size()));
}

struct StateCase {
  const char* name;
  const char* xdgStateHome;
  const char* home;
  const char* expected;
  friend void PrintTo(const StateCase& c, std::ostream* os) { *os << c.name; }
};

class StateFolderFromTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(StateFolderFromTest, FollowsTheBaseDirectoryRule) {
  const StateCase& c = GetParam();
  EXPECT_EQ(StateFolderFrom(c.xdgStateHome, c.home), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Variables, StateFolderFromTest,
    ::testing::Values(
        StateCase{"XdgStateHomeWins", "/x/state", "/home/u", "/x/state/quorvel"},
        StateCase{"HomeWhenXdgUnset", nullptr, "/home/u", "/home/u/.local/state/quorvel"},
        StateCase{"HomeWhenXdgEmpty", "", "/home/u", "/home/u/.local/state/quorvel"},
        StateCase{"RelativeXdgCountsAsUnset", "state", "/home/u", "/home/u/.local/state/quorvel"},
        StateCase{"RelativeHomeStaysRelative", nullptr, "home", "home/.local/state/quorvel"},
        StateCase{"EmptyHomeGivesNone", nullptr, "", ""},
        StateCase{"NothingSetGivesNone", nullptr, nullptr, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The variables as they were, back after each test.
class StateEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& [name, value] : saved_)
      if (const char* v = std::getenv(name)) value = v;
  }
  void TearDown() override {
    for (auto& [name, value] : saved_) value ? testing_support::SetEnv(name, value->c_str()) : testing_support::UnsetEnv(name);
  }
  std::pair<const char*, std::optional<std::string>> saved_[2] = {{"XDG_STATE_HOME", {}},
                                                                  {"HOME", {}}};
};

#ifndef _WIN32
TEST_F(StateEnvironment, StateFolderReadsTheVariables) {
  testing_support::SetEnv("HOME", "/home/ann");
  testing_support::SetEnv("XDG_STATE_HOME", "/var/state");
  EXPECT_EQ(StateFolder(), "/var/state/quorvel");
  testing_support::UnsetEnv("XDG_STATE_HOME");
  EXPECT_EQ(StateFolder(), "/home/ann/.local/state/quorvel");
  testing_support::UnsetEnv("HOME");
  EXPECT_EQ(StateFolder(), "");
}
#endif

#ifndef _WIN32
TEST(MakePrivateFolder, CreatesTheFolderForItsOwnerOnly) {
  support::TempDir dir;
  EXPECT_EQ(MakePrivateFolder(dir / "new"), 0);
  EXPECT_EQ(ModeOf(dir / "new"), 0700u);
}
#endif

#ifndef _WIN32
TEST(MakePrivateFolder, ExistingFolderKeepsItsMode) {
  support::TempDir dir;
  std::filesystem::create_directory(dir / "old");
  ::chmod((dir / "old").c_str(), 0755);
  EXPECT_EQ(MakePrivateFolder(dir / "old"), 0);
  EXPECT_EQ(ModeOf(dir / "old"), 0755u);
}
#endif

TEST(MakePrivateFolder, RefusesANameTakenByAFileOrAMissingParent) {
  support::TempDir dir;
  support::WriteFile(dir / "plain", "");
  EXPECT_EQ(MakePrivateFolder(dir / "plain"), ENOTDIR);
  EXPECT_EQ(MakePrivateFolder(dir / "missing/new"), ENOENT);
}

#ifndef _WIN32
TEST(MakePrivateFoldersAbove, CreatesEachMissingFolderButNotTheFile) {
  support::TempDir dir;
  MakePrivateFoldersAbove(dir / "a/b/Log.txt");
  EXPECT_EQ(ModeOf(dir / "a"), 0700u);
  EXPECT_EQ(ModeOf(dir / "a/b"), 0700u);
  EXPECT_FALSE(std::filesystem::exists(dir / "a/b/Log.txt"));
}
#endif

}  // namespace
}  // namespace platform
