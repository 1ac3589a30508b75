#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>

#include "platform/AppendFile.h"
#include "platform/Descriptor.h"
#include "platform/ReadAt.h"
#include "tests/support/TestFiles.h"

namespace platform {
namespace {

int OpenOrFail(const std::string& path) {
  int fd = -1;
  EXPECT_EQ(OpenForReading(path, fd), 0) << path;
  return fd;
}

TEST(OpenForReading, MissingFileGivesItsErrno) {
  support::TempDir dir;
  int fd = 7;
  EXPECT_EQ(OpenForReading(dir / "missing", fd), ENOENT);
  EXPECT_EQ(fd, -1);
}

TEST(ReadAt, ReadsAtTheOffsetAndStopsAtTheEnd) {
  support::TempDir dir;
  support::WriteFile(dir / "f", "0123456789");
  const int fd = OpenOrFail(dir / "f");
  char bytes[8] = {};
  size_t got = 99;
  EXPECT_EQ(ReadAt(fd, bytes, 4, 3, got), 0);
  EXPECT_EQ(std::string(bytes, got), "3456");
  EXPECT_EQ(ReadAt(fd, bytes, 8, 7, got), 0);
  EXPECT_EQ(std::string(bytes, got), "789");
  EXPECT_EQ(ReadAt(fd, bytes, 8, 10, got), 0);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(ReadAt(fd, bytes, 8, uint64_t{1} << 40, got), 0);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(CloseFile(fd), 0);
}

TEST(ReadAt, LeavesThePositionOfWritesAlone) {
  support::TempDir dir;
  const int fd = OpenAppendFile(dir / "f");
  ASSERT_GE(fd, 0);
  ASSERT_EQ(WriteAll(fd, "abc", 3), 0);
  const int reader = OpenOrFail(dir / "f");
  char byte = 0;
  size_t got = 0;
  EXPECT_EQ(ReadAt(reader, &byte, 1, 0, got), 0);
  EXPECT_EQ(ReadAt(reader, &byte, 1, 1, got), 0);
  ASSERT_EQ(WriteAll(fd, "def", 3), 0);
  EXPECT_EQ(support::ReadFile(dir / "f"), "abcdef");
  CloseFile(reader);
  CloseFile(fd);
}

TEST(ReadAt, ClosedDescriptorGivesEbadf) {
  char byte;
  size_t got = 5;
  EXPECT_EQ(ReadAt(-1, &byte, 1, 0, got), EBADF);
  EXPECT_EQ(got, 0u);
}

TEST(WriteAll, FullFileGivesEfbigNotAShortSuccess) {
  support::TempDir dir;
  const int fd = OpenAppendFile(dir / "f");
  ASSERT_GE(fd, 0);
  const auto old = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limit = saved;
  limit.rlim_cur = 1000;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  const std::string bytes(5000, 'x');
  const int error = WriteAll(fd, bytes.data(), bytes.size());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old);
  EXPECT_EQ(error, EFBIG);
  uint64_t size = 0;
  EXPECT_EQ(FileSize(fd, size), 0);
  EXPECT_EQ(size, 1000u);
  CloseFile(fd);
}

TEST(WriteAll, ReadOnlyDescriptorGivesEbadf) {
  support::TempDir dir;
  support::WriteFile(dir / "f", "");
  const int fd = OpenOrFail(dir / "f");
  EXPECT_EQ(WriteAll(fd, "x", 1), EBADF);
  EXPECT_FALSE(WriteInOne(fd, "x"));
  EXPECT_EQ(SyncFile(fd), 0);
  CloseFile(fd);
}

TEST(CloseFile, ClosedDescriptorGivesEbadf) {
  EXPECT_EQ(CloseFile(-1), EBADF);
  uint64_t size = 0;
  EXPECT_EQ(FileSize(-1, size), EBADF);
  EXPECT_EQ(SyncFile(-1), EBADF);
}

TEST(OpenAppendFile, CreatesTheFileForItsOwnerOnly) {
  support::TempDir dir;
  const int fd = OpenAppendFile(dir / "Log.txt");
  ASSERT_GE(fd, 0);
  struct stat st {};
  ASSERT_EQ(::fstat(fd, &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  CloseFile(fd);
}

TEST(OpenAppendFile, EveryWriteLandsAtTheEndWhoeverWroteLast) {
  support::TempDir dir;
  support::WriteFile(dir / "Log.txt", "old\n");
  const int first = OpenAppendFile(dir / "Log.txt");
  const int second = OpenAppendFile(dir / "Log.txt");
  ASSERT_GE(first, 0);
  ASSERT_GE(second, 0);
  EXPECT_TRUE(WriteInOne(first, "one\n"));
  EXPECT_TRUE(WriteInOne(second, "two\n"));
  EXPECT_TRUE(WriteInOne(first, "three\n"));
  EXPECT_EQ(support::ReadFile(dir / "Log.txt"), "old\none\ntwo\nthree\n");
  CloseFile(first);
  CloseFile(second);
}

TEST(OpenAppendFile, MissingFolderGivesNoDescriptor) {
  support::TempDir dir;
  EXPECT_EQ(OpenAppendFile(dir / "missing/Log.txt"), -1);
}

}  // namespace
}  // namespace platform
