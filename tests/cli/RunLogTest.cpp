#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(LogPathBesideProgram, NamesLogTxtInProgramFolder) {
  std::string path = LogPathBesideProgram();
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  std::string program(exe, static_cast<size_t>(n));
  EXPECT_EQ(path, program.substr(0, program.rfind('/')) + "/Log.txt");
}

}  // namespace
}  // namespace cli
