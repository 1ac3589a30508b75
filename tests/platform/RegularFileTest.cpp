#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Descriptor.h"
#include "platform/RegularFile.h"
#include "tests/support/TestFiles.h"

namespace platform {
namespace {

TEST(OpenRegularFile, OpensAFileWhoseReadsWaitAsAFilesDo) {
  support::TempDir dir;
  support::WriteFile(dir / "f", "bytes");
  RegularFileRefusal refusal = RegularFileRefusal::NotRegular;
  const int fd = OpenRegularFile(dir / "f", refusal);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(refusal, RegularFileRefusal::None);
  EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
  EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
  CloseFile(fd);
}

TEST(OpenRegularFile, FifoWithoutWriterIsRefusedWithoutWaiting) {
  support::TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  RegularFileRefusal refusal = RegularFileRefusal::None;
  EXPECT_EQ(OpenRegularFile(dir / "fifo", refusal), -1);
  EXPECT_EQ(refusal, RegularFileRefusal::NotRegular);
}

TEST(OpenRegularFile, DevicesAndFoldersAreRefused) {
  support::TempDir dir;
  for (const std::string& path : {std::string("/dev/zero"), dir.path()}) {
    RegularFileRefusal refusal = RegularFileRefusal::None;
    EXPECT_EQ(OpenRegularFile(path, refusal), -1) << path;
    EXPECT_EQ(refusal, RegularFileRefusal::NotRegular) << path;
  }
}

TEST(OpenRegularFile, MissingFileCannotBeOpened) {
  support::TempDir dir;
  RegularFileRefusal refusal = RegularFileRefusal::None;
  EXPECT_EQ(OpenRegularFile(dir / "missing", refusal), -1);
  EXPECT_EQ(refusal, RegularFileRefusal::CannotOpen);
}

}  // namespace
}  // namespace platform
