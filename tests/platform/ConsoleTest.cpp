#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/Console.h"
#include "platform/Descriptor.h"

namespace platform {
namespace {

// What a child that silences its console still gets out through its
// standard output and error, both a pipe.
std::string CaptureSilencedChild(bool sayLastWord) {
  int pipe[2];
  if (::pipe(pipe) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipe[1], STDOUT_FILENO);
    ::dup2(pipe[1], STDERR_FILENO);
    ::close(pipe[0]);
    ::close(pipe[1]);
    const int console = KeepErrorConsole();
    SilenceConsole();
    std::fputs("out", stdout);
    std::fflush(stdout);
    std::fputs("err", stderr);
    if (sayLastWord) WriteInOne(console, "last word");
    ::_exit(console > STDERR_FILENO ? 0 : 1);
  }
  ::close(pipe[1]);
  std::string heard;
  char bytes[256];
  for (ssize_t n; (n = ::read(pipe[0], bytes, sizeof bytes)) > 0;) heard.append(bytes, n);
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    heard += "[kept console reused a standard one]";
  return heard;
}

TEST(Console, SilencedProgramWritesNothingToItsConsole) {
  EXPECT_EQ(CaptureSilencedChild(false), "");
}

TEST(Console, KeptConsoleStillReachesTheOriginalError) {
  EXPECT_EQ(CaptureSilencedChild(true), "last word");
}

}  // namespace
}  // namespace platform
