// The Windows implementations where they differ from POSIX: UTF-8 names that
// Windows takes in UTF-16, renames over files, the state folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/AppendFile.h"
#include "platform/Descriptor.h"
#include "platform/Environment.h"
#include "platform/Folder.h"
#include "platform/OutputFile.h"
#include "platform/Path.h"
#include "platform/ReadAt.h"
#include "platform/Rename.h"
#include "platform/StateFolder.h"
#include "platform/TemporaryFile.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

namespace platform {
namespace {

// Outside every code page at once: only UTF-16 carries it to Windows.
const std::string Unicode = "R\xc3\xa9gion-\xe6\x9d\xb1\xe4\xba\xac-\xe2\x82\xac";

std::string Contents(const std::string& path) {
  int fd = -1;
  if (OpenForReading(path, fd) != 0) return "<cannot open>";
  std::string bytes(64, '\0');
  size_t got = 0;
  ReadAt(fd, bytes.data(), bytes.size(), 0, got);
  CloseFile(fd);
  bytes.resize(got);
  return bytes;
}

TEST(WindowsNames, UnicodeFolderAndFileNamesRoundTrip) {
  support::TempDir dir;
  const std::string folder = dir / Unicode;
  ASSERT_EQ(MakePrivateFolder(folder), 0);
  int fd = -1;
  std::string pending;
  ASSERT_EQ(CreatePrivateFile(folder + "/" + Unicode + ".", fd, pending), 0);
  ASSERT_TRUE(WriteInOne(fd, "bytes"));
  ASSERT_EQ(CloseFile(fd), 0);
  const std::string file = folder + "/" + Unicode + ".txt";
  ASSERT_EQ(RenameNoReplace(pending, file), 0);
  EXPECT_EQ(Contents(file), "bytes");
  // The listing gives the name back as it was written.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PathOf(folder)))
    names.push_back(TextOf(entry.path().filename()));
  EXPECT_EQ(names, std::vector<std::string>{Unicode + ".txt"});
}

TEST(WindowsRenames, ReplacingTakesTheTargetsPlaceAndNoReplaceRefuses) {
  support::TempDir dir;
  support::WriteFile(dir / "old", "old");
  support::WriteFile(dir / "new", "new");
  support::WriteFile(dir / "third", "third");
  EXPECT_EQ(RenameNoReplace(dir / "new", dir / "old"), EEXIST);
  EXPECT_EQ(Contents(dir / "old"), "old");
  EXPECT_EQ(RenameReplacing(dir / "new", dir / "old"), 0);
  EXPECT_EQ(Contents(dir / "old"), "new");
  EXPECT_FALSE(std::filesystem::exists(dir / "new"));
  EXPECT_EQ(RenameReplacing(dir / "missing", dir / "third"), ENOENT);
  EXPECT_EQ(Contents(dir / "third"), "third");
}

TEST(WindowsFiles, PendingFileIsReadableButNoOneElsesToWrite) {
  support::TempDir dir;
  int fd = -1;
  std::string pending;
  ASSERT_EQ(CreatePrivateFile(dir / "pending.", fd, pending), 0);
  ASSERT_TRUE(WriteInOne(fd, "mine"));
  const std::wstring wide = PathOf(pending).wstring();
  FILE* writer = _wfopen(wide.c_str(), L"r+b");
  EXPECT_EQ(writer, nullptr);
  if (writer) fclose(writer);
  EXPECT_EQ(Contents(pending), "mine");
  CloseFile(fd);
  writer = _wfopen(wide.c_str(), L"r+b");
  EXPECT_NE(writer, nullptr) << "closed, it is free again";
  if (writer) fclose(writer);
}

TEST(WindowsFiles, OutputFileIsReadableButNoOneElsesToWriteAndAppendsAtTheEnd) {
  support::TempDir dir;
  const std::string path = dir / (Unicode + ".txt");
  char buffer[64];
  auto file = OpenOutputFile(path, std::ios::binary | std::ios::out | std::ios::trunc, buffer,
                             sizeof buffer);
  ASSERT_NE(file, nullptr);
  file->sputn("first\r\n", 7);
  const std::wstring wide = PathOf(path).wstring();
  FILE* writer = _wfopen(wide.c_str(), L"r+b");
  EXPECT_EQ(writer, nullptr);
  if (writer) fclose(writer);
  ASSERT_NE(file->close(), nullptr);
  EXPECT_EQ(Contents(path), "first\r\n");
  // Append needs the file; reading too keeps it from being made.
  file = OpenOutputFile(path, std::ios::binary | std::ios::in | std::ios::out | std::ios::ate,
                        buffer, sizeof buffer);
  ASSERT_NE(file, nullptr);
  file->sputn("second", 6);
  ASSERT_NE(file->close(), nullptr);
  EXPECT_EQ(Contents(path), "first\r\nsecond");
  errno = 0;
  EXPECT_EQ(OpenOutputFile(dir / "missing.txt",
                           std::ios::binary | std::ios::in | std::ios::out | std::ios::ate, buffer,
                           sizeof buffer),
            nullptr);
  EXPECT_EQ(errno, ENOENT);
}

TEST(WindowsFiles, MissingFileGivesEnoentAndAppendsLandAtTheEnd) {
  support::TempDir dir;
  int fd = -1;
  EXPECT_EQ(OpenForReading(dir / "missing", fd), ENOENT);
  EXPECT_EQ(fd, -1);
  for (const char* line : {"one\r\n", "two\r\n"}) {
    const int log = OpenAppendFile(dir / (Unicode + ".log"));
    ASSERT_GE(log, 0);
    EXPECT_TRUE(WriteInOne(log, line));
    CloseFile(log);
  }
  EXPECT_EQ(Contents(dir / (Unicode + ".log")), "one\r\ntwo\r\n");
}

TEST(WindowsState, StateFolderIsQuorvelInLocalAppData) {
  const std::optional<std::string> saved = Environment("LOCALAPPDATA");
  testing_support::SetEnv("LOCALAPPDATA", ("C:\\Users\\" + Unicode + "\\AppData\\Local").c_str());
  EXPECT_EQ(Environment("LOCALAPPDATA"), "C:\\Users\\" + Unicode + "\\AppData\\Local");
  EXPECT_EQ(StateFolder(), "C:\\Users\\" + Unicode + "\\AppData\\Local\\Quorvel");
  testing_support::UnsetEnv("LOCALAPPDATA");
  EXPECT_EQ(Environment("LOCALAPPDATA"), std::nullopt);
  EXPECT_EQ(StateFolder(), "");
  if (saved) testing_support::SetEnv("LOCALAPPDATA", saved->c_str());
}

}  // namespace
}  // namespace platform
