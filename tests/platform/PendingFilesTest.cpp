#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "tests/support/TestEnvironment.h"
#include "platform/Descriptor.h"
#include "platform/FileMode.h"
#include "platform/FileStatus.h"
#include "platform/Rename.h"
#include "platform/TemporaryFile.h"
#include "tests/support/TestFiles.h"

namespace platform {
namespace {

unsigned ModeOf(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(CreatePrivateFile, NewFileIsTheOwnersOnlyAndNotInherited) {
  support::TempDir dir;
  int fd = -1;
  std::string path;
  ASSERT_EQ(CreatePrivateFile(dir / ".pending-", fd, path), 0);
  EXPECT_EQ(path.size(), (dir / ".pending-").size() + 6);
  EXPECT_EQ(path.rfind(dir / ".pending-", 0), 0u) << path;
  EXPECT_TRUE(std::filesystem::is_regular_file(path));
  EXPECT_EQ(ModeOf(fd), 0600u);
  EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
  EXPECT_EQ(WriteAll(fd, "x", 1), 0);
  CloseFile(fd);
}

TEST(CreatePrivateFile, EachCallMakesANewFile) {
  support::TempDir dir;
  int a = -1, b = -1;
  std::string first, second;
  ASSERT_EQ(CreatePrivateFile(dir / "t-", a, first), 0);
  ASSERT_EQ(CreatePrivateFile(dir / "t-", b, second), 0);
  EXPECT_NE(first, second);
  CloseFile(a);
  CloseFile(b);
}

TEST(CreatePrivateFile, MissingFolderGivesItsErrno) {
  support::TempDir dir;
  int fd = 7;
  std::string path = "untouched";
  EXPECT_EQ(CreatePrivateFile(dir / "missing/t-", fd, path), ENOENT);
  EXPECT_EQ(fd, -1);
  EXPECT_EQ(path, "untouched");
}

// TMPDIR pointed at a folder of the test's own.
class TemporaryFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* v = std::getenv("TMPDIR")) saved_ = v;
    testing_support::SetEnv("TMPDIR", dir_.path().c_str());
  }
  void TearDown() override {
    saved_ ? testing_support::SetEnv("TMPDIR", saved_->c_str()) : testing_support::UnsetEnv("TMPDIR");
  }
  support::TempDir dir_;
  std::optional<std::string> saved_;
};

TEST_F(TemporaryFolder, UnnamedFileLeavesNothingInTheFolder) {
  int fd = -1;
  ASSERT_EQ(CreateUnnamedTemporaryFile("quorvel-test-", fd), 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
  EXPECT_EQ(ModeOf(fd), 0600u);
  EXPECT_EQ(WriteAll(fd, "rows", 4), 0);
  uint64_t size = 0;
  EXPECT_EQ(FileSize(fd, size), 0);
  EXPECT_EQ(size, 4u);
  CloseFile(fd);
}

TEST(RenameNoReplace, RefusesAnExistingNameAndLeavesBothFiles) {
  support::TempDir dir;
  support::WriteFile(dir / "from", "new");
  support::WriteFile(dir / "to", "old");
  EXPECT_EQ(RenameNoReplace(dir / "from", dir / "to"), EEXIST);
  EXPECT_EQ(support::ReadFile(dir / "from"), "new");
  EXPECT_EQ(support::ReadFile(dir / "to"), "old");
}

TEST(RenameNoReplace, MovesToAFreeName) {
  support::TempDir dir;
  support::WriteFile(dir / "from", "new");
  EXPECT_EQ(RenameNoReplace(dir / "from", dir / "to"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "from"));
  EXPECT_EQ(support::ReadFile(dir / "to"), "new");
  EXPECT_EQ(RenameNoReplace(dir / "from", dir / "other"), ENOENT);
}

TEST(RenameReplacing, ReplacesTheFileInOneStep) {
  support::TempDir dir;
  support::WriteFile(dir / "from", "new");
  support::WriteFile(dir / "to", "old");
  const int reader = ::open((dir / "to").c_str(), O_RDONLY);
  EXPECT_EQ(RenameReplacing(dir / "from", dir / "to"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "from"));
  EXPECT_EQ(support::ReadFile(dir / "to"), "new");
  // A reader of the old file keeps reading the old file whole.
  char bytes[3];
  EXPECT_EQ(::read(reader, bytes, 3), 3);
  EXPECT_EQ(std::string(bytes, 3), "old");
  ::close(reader);
  EXPECT_EQ(RenameReplacing(dir / "from", dir / "to"), ENOENT);
}

TEST(RemoveFile, MissingFileGivesEnoent) {
  support::TempDir dir;
  support::WriteFile(dir / "f", "");
  EXPECT_EQ(RemoveFile(dir / "f"), 0);
  EXPECT_EQ(RemoveFile(dir / "f"), ENOENT);
}

TEST(CopyFileMode, NewFileTakesThePermissionsOfTheOld) {
  support::TempDir dir;
  support::WriteFile(dir / "old", "");
  ::chmod((dir / "old").c_str(), 0640);
  int from = -1, to = -1;
  std::string path;
  ASSERT_EQ(OpenForReading(dir / "old", from), 0);
  ASSERT_EQ(CreatePrivateFile(dir / "t-", to, path), 0);
  EXPECT_EQ(CopyFileMode(from, to), 0);
  EXPECT_EQ(ModeOf(to), 0640u);
  EXPECT_EQ(CopyFileMode(-1, to), EBADF);
  CloseFile(from);
  CloseFile(to);
}

TEST(StatusOfEntry, JudgesALinkByItselfNeverByItsTarget) {
  support::TempDir dir;
  support::WriteFile(dir / "file", "");
  std::filesystem::last_write_time(
      dir / "file", std::filesystem::file_time_type::clock::now() - std::chrono::hours(48));
  std::filesystem::create_symlink(dir / "file", dir / "link");
  std::filesystem::create_directory(dir / "folder");
  EntryStatus status;
  ASSERT_TRUE(StatusOfEntry(dir / "file", status));
  EXPECT_TRUE(status.regular);
  EXPECT_NEAR(static_cast<double>(status.modified),
              static_cast<double>(std::time(nullptr) - 48 * 3600), 60);
  ASSERT_TRUE(StatusOfEntry(dir / "link", status));
  EXPECT_FALSE(status.regular);
  ASSERT_TRUE(StatusOfEntry(dir / "folder", status));
  EXPECT_FALSE(status.regular);
  EXPECT_FALSE(StatusOfEntry(dir / "missing", status));
}

}  // namespace
}  // namespace platform
