// An export file stays Latin-1 byte for byte while its text fits and turns
// UTF-8 as a whole, behind one byte order mark, when a text does not.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "filterfile/ExportFile.h"
#include "filterfile/FilterFileReader.h"
#include "filterfile/Widen.h"
#include "tests/support/TestFiles.h"

namespace filterfile {
namespace {

const std::string Mark(Utf8Mark);

// Latin-1 "Région" and "Köln", and their UTF-8.
const char* const RegionL1 = "R\xe9gion";
const char* const RegionU8 = "R\xc3\xa9gion";
const char* const Euro = "\xe2\x82\xac";
const char* const Tokyo = "\xe6\x9d\xb1\xe4\xba\xac";

essbase::Filter F(std::string name, std::vector<std::string> rows) {
  essbase::Filter f{std::move(name), 1, 375, {}};
  for (auto& r : rows) f.rows.push_back({273, std::move(r)});
  return f;
}

std::string Record(const std::string& filter, const std::string& row) {
  return "Fin\tPlan\t" + filter + "\t273\t" + row + "\r\r\n";
}

class ExportFileTest : public ::testing::Test {
 protected:
  std::string Write(ExportFile::Mode mode, const std::vector<essbase::Filter>& filters) {
    ExportFile file;
    EXPECT_TRUE(file.Open(path, mode)) << file.error();
    for (essbase::Filter f : filters) EXPECT_TRUE(file.records().Receive({"Fin", "Plan"}, f));
    EXPECT_TRUE(file.Close()) << file.error();
    return support::ReadFile(path);
  }
  support::TempDir dir{"quorvel-export"};
  std::string path = dir / "out.txt";
};

TEST_F(ExportFileTest, TextThatFitsLatin1IsWrittenAsBefore) {
  EXPECT_EQ(Write(ExportFile::Mode::Create, {F("A", {"East"}), F("B", {RegionU8})}),
            Record("A", "East") + Record("B", RegionL1));
}

TEST_F(ExportFileTest, FirstTextBeyondLatin1TurnsTheWholeFileUtf8) {
  const std::string bytes = Write(
      ExportFile::Mode::Create, {F("A", {RegionU8}), F("B", {"x", std::string("cost ") + Euro})});
  EXPECT_EQ(bytes, Mark + Record("A", RegionU8) + Record("B", "x") +
                       Record("B", std::string("cost ") + Euro));
}

TEST_F(ExportFileTest, NameBeyondLatin1TurnsTheFileBeforeItsFirstRecord) {
  const std::string name = std::string("R") + Tokyo;
  EXPECT_EQ(Write(ExportFile::Mode::Create, {F("A", {RegionU8}), F(name, {RegionU8})}),
            Mark + Record("A", RegionU8) + Record(name, RegionU8));
}

TEST_F(ExportFileTest, AppendKeepsTheEncodingTheFileHas) {
  support::WriteFile(path, Mark + Record("A", Euro));
  EXPECT_EQ(Write(ExportFile::Mode::Append, {F("B", {RegionU8})}),
            Mark + Record("A", Euro) + Record("B", RegionU8));
  support::WriteFile(path, Record("A", RegionL1));
  EXPECT_EQ(Write(ExportFile::Mode::Append, {F("B", {RegionU8})}),
            Record("A", RegionL1) + Record("B", RegionL1));
  // A Latin-1 file appended to with a text beyond it turns UTF-8 whole.
  EXPECT_EQ(Write(ExportFile::Mode::Append, {F("C", {Tokyo})}),
            Mark + Record("A", RegionU8) + Record("B", RegionU8) + Record("C", Tokyo));
}

TEST_F(ExportFileTest, AppendNeverCreates) {
  ExportFile file;
  EXPECT_FALSE(file.Open(dir / "missing.txt", ExportFile::Mode::Append));
  EXPECT_EQ(file.error(), ENOENT);
}

#ifndef _WIN32
TEST_F(ExportFileTest, TurnedFileKeepsItsModeAndReadsBackAsWritten) {
  support::WriteFile(path, "");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  Write(ExportFile::Mode::Append, {F("A", {RegionU8}), F(Tokyo, {Euro, "\tTAB"})});
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);

  struct Collect : FilterSink {
    std::string seen;
    void OpenFilter(std::string_view n) override { seen += "[" + std::string(n) + "]"; }
    void AddRow(std::string_view t, int16_t) override { seen += std::string(t) + ";"; }
    void CloseFilter() override {}
    void PassedOver(uint64_t) override { seen += "!"; }
    void RowLost() override {}
  } collect;
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(ReadFilterFile(in, collect), ReadOutcome::Complete);
  EXPECT_EQ(collect.seen, std::string("[A]") + RegionU8 + ";[" + Tokyo + "]" + Euro + ";\tTAB;");
}
#endif

TEST(Widen, OffsetsMoveWithTheirCharacters) {
  support::TempDir dir{"quorvel-widen"};
  const std::string from = dir / "from", to = dir / "to";
  support::WriteFile(from, std::string("a\xe9") + "bc\xff" + "d");
  const int in = ::open(from.c_str(), O_RDONLY);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT, 0600);
  // Before 'a', before '\xe9', before 'b', before 'd', at the end.
  std::vector<uint64_t> offsets{0, 1, 2, 5, 6, 5};
  uint64_t written = 0;
  EXPECT_EQ(WidenLatin1(in, out, offsets, written), 0);
  ::close(in);
  ::close(out);
  const std::string bytes = support::ReadFile(to);
  EXPECT_EQ(bytes, Mark + "a\xc3\xa9" + "bc\xc3\xbf" + "d");
  EXPECT_EQ(written, bytes.size());
  EXPECT_EQ(offsets, (std::vector<uint64_t>{3, 4, 6, 10, 11, 10}));
}

}  // namespace
}  // namespace filterfile
