#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "tests/support/TestEnvironment.h"
#include "backup/BackupInfo.h"
#include "backup/BackupName.h"
#include "backup/Place.h"
#include "tests/backup/BackupTestSupport.h"

namespace backup {
namespace {

BackupInfo Sample() {
  BackupInfo info;
  info.command = "import";
  info.time = "2026-03-07 13:05:09 +0000";
  info.server = "essdemo";
  info.databases = {{"Fin", "Plan", 0, 120}, {"Fin", "Copy", 120, 0}};
  info.filters = {{"Fin", "Plan", "ReadEast", 0, 273, 2},
                  {"Fin", "Copy", "Blank Name", -1, 375, 0}};
  info.created = {{"Fin", "Plan", "New"}};
  return info;
}

std::string Whole() {
  std::ostringstream out;
  WriteBackupInfo(out, Sample());
  return out.str();
}

TEST(BackupInfoText, WrittenLinesReadBackAsTheSameDescription) {
  std::ostringstream out;
  WriteBackupInfo(out, Sample());
  EXPECT_EQ(out.str(),
            "quorvel-backup\t1\ncommand\timport\ntime\t2026-03-07 13:05:09 +0000\n"
            "server\tessdemo\ndatabase\tFin\tPlan\t0\t120\ndatabase\tFin\tCopy\t120\t0\n"
            "filter\tFin\tPlan\tReadEast\t0\t273\t2\nfilter\tFin\tCopy\tBlank Name\t-1\t375\t0\n"
            "created\tFin\tPlan\tNew\nend\n");
  std::istringstream in(out.str());
  std::string reason;
  const std::optional<BackupInfo> back = ParseBackupInfo(in, reason);
  ASSERT_TRUE(back) << reason;
  EXPECT_EQ(*back, Sample());
}

// Names that all fit Latin-1 are written as every description was before
// names could hold any character: single bytes, no mark.
TEST(BackupInfoText, NamesThatFitLatin1AreWrittenAsSingleBytesWithoutAMark) {
  BackupInfo info = Sample();
  info.filters[0].name = "Caf\xC3\xA9";
  std::ostringstream out;
  WriteBackupInfo(out, info);
  std::string expected = Whole();
  expected.replace(expected.find("ReadEast"), 8, "Caf\xE9");
  EXPECT_EQ(out.str(), expected);
  std::istringstream in(out.str());
  std::string reason;
  const std::optional<BackupInfo> back = ParseBackupInfo(in, reason);
  ASSERT_TRUE(back) << reason;
  EXPECT_EQ(*back, info);
}

// Where each name of a description may stand.
using NameAt = std::function<std::string&(BackupInfo&)>;
struct NamePlace {
  const char* name;
  NameAt at;
};
void PrintTo(const NamePlace& p, std::ostream* os) {
  *os << p.name;
}

class NameOutsideLatin1 : public ::testing::TestWithParam<NamePlace> {};

TEST_P(NameOutsideLatin1, MakesTheDescriptionUtf8BehindTheMarkAndReadsBackEqual) {
  BackupInfo info = Sample();
  GetParam().at(info) += "\xE2\x82\xAC";
  std::ostringstream out;
  WriteBackupInfo(out, info);
  const std::string text = out.str();
  ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(text.find("\xE2\x82\xAC"), std::string::npos);
  std::istringstream in(text);
  std::string reason;
  const std::optional<BackupInfo> back = ParseBackupInfo(in, reason);
  ASSERT_TRUE(back) << reason;
  EXPECT_EQ(*back, info);
}

INSTANTIATE_TEST_SUITE_P(
    EveryName, NameOutsideLatin1,
    ::testing::Values(
        NamePlace{"Server", [](BackupInfo& i) -> std::string& { return i.server; }},
        NamePlace{"Command", [](BackupInfo& i) -> std::string& { return i.command; }},
        NamePlace{"Time", [](BackupInfo& i) -> std::string& { return i.time; }},
        NamePlace{"RangeApplication",
                  [](BackupInfo& i) -> std::string& { return i.databases[1].application; }},
        NamePlace{"RangeDatabase",
                  [](BackupInfo& i) -> std::string& { return i.databases[1].database; }},
        NamePlace{"FilterApplication",
                  [](BackupInfo& i) -> std::string& { return i.filters[1].application; }},
        NamePlace{"FilterDatabase",
                  [](BackupInfo& i) -> std::string& { return i.filters[1].database; }},
        NamePlace{"FilterName", [](BackupInfo& i) -> std::string& { return i.filters[1].name; }},
        NamePlace{"CreatedApplication",
                  [](BackupInfo& i) -> std::string& { return i.created[0].application; }},
        NamePlace{"CreatedDatabase",
                  [](BackupInfo& i) -> std::string& { return i.created[0].database; }},
        NamePlace{"CreatedName", [](BackupInfo& i) -> std::string& { return i.created[0].name; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BackupInfoText, Utf8DescriptionWithALineThatIsNoUtf8IsRefusedNamingTheLine) {
  std::istringstream in("\xEF\xBB\xBFquorvel-backup\t1\nserver\tCaf\xE9\nend\n");
  std::string reason;
  EXPECT_FALSE(ParseBackupInfo(in, reason));
  EXPECT_EQ(reason, "line 2 of the description is not UTF-8");
}

TEST(BackupInfoText, Latin1DescriptionIsReadAsUtf8Text) {
  std::istringstream in("quorvel-backup\t1\nserver\tCaf\xE9\nend\n");
  std::string reason;
  const std::optional<BackupInfo> back = ParseBackupInfo(in, reason);
  ASSERT_TRUE(back) << reason;
  EXPECT_EQ(back->server, "Caf\xC3\xA9");
}

struct Damage {
  const char* name;
  std::string text;
};
void PrintTo(const Damage& d, std::ostream* os) {
  *os << d.name;
}

class DamagedDescription : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedDescription, IsRefusedWithAReason) {
  std::istringstream in(GetParam().text);
  std::string reason;
  EXPECT_FALSE(ParseBackupInfo(in, reason));
  EXPECT_FALSE(reason.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedDescription,
    ::testing::Values(
        Damage{"empty", ""}, Damage{"cut_before_end", Whole().substr(0, Whole().rfind("end"))},
        Damage{"other_version", "quorvel-backup\t2\nend\n"},
        Damage{"no_magic", "command\timport\nend\n"},
        Damage{"row_count_not_a_number", "quorvel-backup\t1\nfilter\tA\tB\tF\t1\t375\tx\nend\n"},
        Damage{"access_beyond_16_bits", "quorvel-backup\t1\nfilter\tA\tB\tF\t1\t99999\t0\nend\n"},
        Damage{"negative_offset", "quorvel-backup\t1\ndatabase\tA\tB\t-1\t0\nend\n"},
        Damage{"empty_filter_name", "quorvel-backup\t1\nfilter\tA\tB\t\t1\t375\t0\nend\n"},
        Damage{"line_after_end", Whole() + "created\tA\tB\tX\n"},
        Damage{"unknown_line", "quorvel-backup\t1\npassword\tsecret\nend\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BackupNames, ListingReadsAsHistoryTimeServerCommandDatabase) {
  EXPECT_EQ(BackupStem(testing::FixedTime, "essdemo", "import", "Fin", "Plan", 0),
            "20260307-130509_essdemo_import_Fin-Plan");
  EXPECT_EQ(BackupStem(testing::FixedTime, "essdemo", "change", "Fin", "Plan", 2, 3),
            "20260307-130509_essdemo_change_Fin-Plan+2.3");
  EXPECT_EQ(DescriptionTime(testing::FixedTime), "2026-03-07 13:05:09 +0000");
  testing_support::SetZone("NST3:30");
  EXPECT_EQ(DescriptionTime(testing::FixedTime), "2026-03-07 09:35:09 -0330");
  testing_support::SetZone("UTC");
  // Later backups sort after earlier ones.
  EXPECT_LT(BackupStem(testing::FixedTime, "z", "import", "A", "B", 0),
            BackupStem(testing::FixedTime + 1, "a", "change", "A", "B", 0));
}

TEST(BackupNames, NoPartOfANameCanLeaveTheFolderOrHide) {
  const std::string stem =
      BackupStem(testing::FixedTime, "../../etc/host:1423", "import", "..", "a b\xe9", 0);
  EXPECT_EQ(stem.find('/'), std::string::npos);
  EXPECT_EQ(stem, "20260307-130509_.._.._etc_host_1423_import__..-a_b_");
  EXPECT_TRUE(IsBackupFileName(stem + ".txt"));
  EXPECT_TRUE(IsBackupFileName(stem + ".info"));
}

TEST(BackupNames, PruningRecognisesOnlyItsOwnFiles) {
  EXPECT_FALSE(IsBackupFileName("notes.txt"));
  EXPECT_FALSE(IsBackupFileName("20260307-130509_x_import_A-B.csv"));
  EXPECT_FALSE(IsBackupFileName("2026030-1305099_x.txt"));
  EXPECT_TRUE(IsTemporaryFileName(".pending-Ab12Cd"));
  EXPECT_EQ(StemOf("/b/20260307-130509_x.info"), "/b/20260307-130509_x");
  EXPECT_EQ(StemOf("/b/20260307-130509_x.txt"), "/b/20260307-130509_x");
}

class Environment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"XDG_STATE_HOME", "HOME", "QUORVEL_BACKUP_DAYS"})
      if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
  }
  void TearDown() override {
    for (const char* name : {"XDG_STATE_HOME", "HOME", "QUORVEL_BACKUP_DAYS"}) testing_support::UnsetEnv(name);
    for (const auto& [name, value] : saved_) testing_support::SetEnv(name.c_str(), value.c_str());
  }
  std::vector<std::pair<std::string, std::string>> saved_;
};

#ifndef _WIN32
TEST_F(Environment, FolderFollowsStateHomeAndIgnoresARelativeOne) {
  testing_support::SetEnv("HOME", "/home/ann");
  testing_support::SetEnv("XDG_STATE_HOME", "/var/state");
  EXPECT_EQ(BackupFolder(), "/var/state/quorvel/backups");
  testing_support::SetEnv("XDG_STATE_HOME", "relative/state");
  EXPECT_EQ(BackupFolder(), "/home/ann/.local/state/quorvel/backups");
  testing_support::SetEnv("XDG_STATE_HOME", "");
  EXPECT_EQ(BackupFolder(), "/home/ann/.local/state/quorvel/backups");
  testing_support::UnsetEnv("HOME");
  EXPECT_EQ(BackupFolder(), "");
}
#endif

TEST_F(Environment, KeepDaysTakesWholeDaysOnlyElseTheDefault) {
  const std::pair<const char*, int> cases[] = {{"7", 7},
                                               {"0", 0},
                                               {"-3", DefaultKeepDays},
                                               {"7d", DefaultKeepDays},
                                               {"", DefaultKeepDays},
                                               {"99999999999", DefaultKeepDays}};
  for (const auto& [text, days] : cases) {
    testing_support::SetEnv("QUORVEL_BACKUP_DAYS", text);
    EXPECT_EQ(KeepDays(), days) << text;
  }
  testing_support::UnsetEnv("QUORVEL_BACKUP_DAYS");
  EXPECT_EQ(KeepDays(), DefaultKeepDays);
}

}  // namespace
}  // namespace backup
