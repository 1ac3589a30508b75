#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "cli/RunLog.h"
#include "tests/cli/CliTestSupport.h"

namespace cli {
namespace {

TEST(AppendFileLog, CreatesMissingFileWithCrLfLines) {
  testing::TempDir dir;
  {
    AppendFileLog log(dir / "Log.txt");
    ASSERT_TRUE(log.isOpen());
    EXPECT_TRUE(log.WriteLine("first"));
    EXPECT_TRUE(log.WriteLine(""));
  }
  EXPECT_EQ(testing::ReadFile(dir / "Log.txt"), "first\r\n\r\n");
}

TEST(AppendFileLog, AppendsNeverTruncates) {
  testing::TempDir dir;
  testing::WriteFile(dir / "Log.txt", "old\r\n\r\n");
  AppendFileLog(dir / "Log.txt").WriteLine("new");
  EXPECT_EQ(testing::ReadFile(dir / "Log.txt"), "old\r\n\r\nnew\r\n");
}

TEST(AppendFileLog, UnopenableLogReportsFailure) {
  testing::TempDir dir;
  AppendFileLog log(dir / "no-such-folder/Log.txt");
  EXPECT_FALSE(log.isOpen());
  EXPECT_FALSE(log.WriteLine("x"));
}

#ifndef _WIN32
TEST(AppendFileLog, ConcurrentWritersNeverInterleaveInsideALine) {
  testing::TempDir dir;
  const std::string path = dir / "Log.txt";
  constexpr int Writers = 4;
  constexpr int Lines = 300;
  for (int w = 0; w < Writers; ++w) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      AppendFileLog log(path);
      const std::string line(200, static_cast<char>('a' + w));
      for (int i = 0; i < Lines; ++i) log.WriteLine(line);
      _exit(0);
    }
  }
  for (int w = 0; w < Writers; ++w) wait(nullptr);
  std::string bytes = testing::ReadFile(path);
  ASSERT_EQ(bytes.size(), size_t{Writers * Lines * 202});
  for (size_t at = 0; at < bytes.size(); at += 202) {
    ASSERT_EQ(bytes.substr(at, 200), std::string(200, bytes[at])) << "at " << at;
    ASSERT_EQ(bytes.substr(at + 200, 2), "\r\n");
  }
}
#endif

#ifndef _WIN32
TEST(LogPathBesideProgram, NamesLogTxtInProgramFolder) {
  std::string path = LogPathBesideProgram();
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  std::string program(exe, static_cast<size_t>(n));
  EXPECT_EQ(path, program.substr(0, program.rfind('/')) + "/Log.txt");
}
#endif

struct StateFolderCase {
  const char* name;
  const char* xdgStateHome;
  const char* home;
  const char* expected;
  friend void PrintTo(const StateFolderCase& c, std::ostream* os) { *os << c.name; }
};

class LogPathInStateFolderTest : public ::testing::TestWithParam<StateFolderCase> {};

#ifndef _WIN32
TEST_P(LogPathInStateFolderTest, FollowsBaseDirectoryRules) {
  const StateFolderCase& c = GetParam();
  EXPECT_EQ(LogPathInStateFolder(c.xdgStateHome, c.home), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Variables, LogPathInStateFolderTest,
    ::testing::Values(
        StateFolderCase{"XdgStateHomeWins", "/x/state", "/home/u", "/x/state/quorvel/Log.txt"},
        StateFolderCase{"HomeWhenXdgUnset", nullptr, "/home/u",
                        "/home/u/.local/state/quorvel/Log.txt"},
        StateFolderCase{"HomeWhenXdgEmpty", "", "/home/u", "/home/u/.local/state/quorvel/Log.txt"},
        StateFolderCase{"RelativeXdgIgnored", "state", "/home/u",
                        "/home/u/.local/state/quorvel/Log.txt"},
        StateFolderCase{"RelativeHomeGivesNone", nullptr, "home", ""},
        StateFolderCase{"NothingSetGivesNone", nullptr, nullptr, ""}),
    [](const auto& info) { return std::string(info.param.name); });
#endif

// A folder that cannot hold a log for any user, root included: its parent
// is a plain file.
std::string Unwritable(const testing::TempDir& dir) {
  testing::WriteFile(dir / "plain", "");
  return dir / "plain/Log.txt";
}

TEST(OpenRunLog, WritableProgramFolderKeepsLogBesideProgram) {
  testing::TempDir dir;
  auto log = OpenRunLog(dir / "Log.txt", dir / "state/quorvel/Log.txt");
  ASSERT_NE(log, nullptr);
  log->WriteLine("x");
  EXPECT_EQ(testing::ReadFile(dir / "Log.txt"), "x\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "state"));
#ifndef _WIN32
  // It holds the command line and the server's words: its owner's only.
  struct stat st {};
  ASSERT_EQ(::stat((dir / "Log.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
#endif
}

TEST(OpenRunLog, UnwritableProgramFolderLogsInCreatedStateFolder) {
  testing::TempDir dir;
  auto log = OpenRunLog(Unwritable(dir), dir / "state/quorvel/Log.txt");
  ASSERT_NE(log, nullptr);
  log->WriteLine("x");
  EXPECT_EQ(testing::ReadFile(dir / "state/quorvel/Log.txt"), "x\r\n");
#ifndef _WIN32
  struct stat st {};
  ASSERT_EQ(::stat((dir / "state/quorvel").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
#endif
}

TEST(OpenRunLog, ExistingStateLogIsAppendedTo) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir / "quorvel");
  testing::WriteFile(dir / "quorvel/Log.txt", "old\r\n");
  OpenRunLog(Unwritable(dir), dir / "quorvel/Log.txt")->WriteLine("new");
  EXPECT_EQ(testing::ReadFile(dir / "quorvel/Log.txt"), "old\r\nnew\r\n");
}

TEST(OpenRunLog, NeitherWritableGivesNoLog) {
  testing::TempDir dir;
  EXPECT_EQ(OpenRunLog(Unwritable(dir), dir / "plain/state/Log.txt"), nullptr);
  EXPECT_EQ(OpenRunLog(Unwritable(dir), ""), nullptr);
}

}  // namespace
}  // namespace cli
