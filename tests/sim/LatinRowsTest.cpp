// The library face over a Unicode store: a filter is given whole or not at
// all, so one with a row outside Latin-1 is refused at EsbGetFilter; rows
// that fit travel as Latin-1 both ways.
#include "sim/SqliteDb.h"
#include "tests/sim/ConformanceFixture.h"

namespace simtest {
namespace {

using namespace essbase;

const std::string kUnicodeRows =
    "server\tsrv\n"
    "user\tu\tpw\t275\n"
    "app\tSample\tloaded\n"
    "db\tSample\tBasic\n"
    "filter\tSample\tBasic\tLatin\t1\t375\n"
    "row\t273\t\"R\xC3\xA9gion\"\n"
    "row\t275\t\"Actual\",\t\"M\xC3\xBCnchen\"\n"
    "filter\tSample\tBasic\tEuro\t0\t273\n"
    "row\t273\t\"Actual\"\n"
    "row\t273\t\"\xE2\x82\xAC\"\n"
    "filter\tSample\tBasic\tTokyo\t1\t375\n"
    "row\t273\t\"\xE6\x9D\xB1\xE4\xBA\xAC\"\n"
    "db\tSample\tSpare\n";

class LatinRows : public Conformance {
 protected:
  void SetUp() override {
    Conformance::SetUp();
    store_.Load(kUnicodeRows);
  }
};

TEST_P(LatinRows, RowsWithinLatin1ReadAsLatin1) {
  Handle c = Connect();
  EXPECT_EQ(ReadRows(c, "Sample", "Basic", "Latin"),
            (std::vector<Row>{{273, "\"R\xE9gion\""}, {275, "\"Actual\",\t\"M\xFCnchen\""}}));
}

TEST_P(LatinRows, FilterWithARowOutsideLatin1IsRefusedWhole) {
  Handle c = Connect();
  for (const char* filter : {"Euro", "Tokyo"}) {
    int16_t active = -1, access = -1;
    EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", filter, active, access),
              ESB_STS_ROW_NOT_HELD)
        << filter;
    EXPECT_EQ(active, -1);
    EXPECT_EQ(access, -1);
    std::string row(64, '#');
    EXPECT_EQ(api().EsbGetFilterRow(c, row, access), ESB_STS_ROWS_NOT_OPEN) << filter;
    EXPECT_EQ(row, std::string(64, '#'));
  }
}

// The refusal closes what an earlier read left open: no row of the filter
// read before comes in its place.
TEST_P(LatinRows, RefusalClosesTheEarlierRead) {
  Handle c = Connect();
  int16_t active, access;
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Latin", active, access), 0);
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Euro", active, access),
            ESB_STS_ROW_NOT_HELD);
  std::string row(64, '#');
  EXPECT_EQ(api().EsbGetFilterRow(c, row, access), ESB_STS_ROWS_NOT_OPEN);
}

TEST_P(LatinRows, RefusedFilterIsNoSuccessForFaults) {
  store_.Load(kUnicodeRows + "fault\tEsbGetFilter\t1030030\t1\t1\n");
  Handle c = Connect();
  int16_t active, access;
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Euro", active, access),
            ESB_STS_ROW_NOT_HELD);
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Latin", active, access), 0);
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Latin", active, access), 1030030);
}

// 8192 Latin-1 characters are 16384 bytes of UTF-8: a limit in bytes would
// refuse the row or cut it.
TEST_P(LatinRows, LongestRowOfAccentsRoundTrips) {
  Handle c = Connect();
  const std::string longest(8192, '\xE9');
  Write(c, "Sample", "Spare", "Long", {{275, longest}});
  EXPECT_EQ(ReadRows(c, "Sample", "Spare", "Long", 8193), (std::vector<Row>{{275, longest}}));
  std::string utf8;
  for (int i = 0; i < 8192; ++i) utf8 += "\xC3\xA9";
  EXPECT_NE(store_.Dump().find("row\t275\t" + utf8 + "\n"), std::string::npos);
}

TEST_P(LatinRows, RowOneLatin1CharacterTooLongIsRefused) {
  Handle c = Connect();
  ASSERT_EQ(api().EsbSetFilter(c, "Sample", "Spare", "F", 1, FilterAccess), 0);
  EXPECT_EQ(api().EsbSetFilterRow(c, std::string(8193, '\xE9').c_str(), 273), ESB_STS_BAD_ROW);
  EXPECT_EQ(api().EsbSetFilterRow(c, "\xE9", 273), 0);
}

// A row is measured as Latin-1 against the caller's buffer: "é" is one byte
// there, though two in the store.
TEST_P(LatinRows, RowFitsTheBufferByItsLatin1Length) {
  Handle c = Connect();
  int16_t active, access;
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Latin", active, access), 0);
  const std::string first = "\"R\xE9gion\"";  // 8 characters, 9 bytes stored
  std::string buffer(first.size() + 1, '#');
  ASSERT_EQ(api().EsbGetFilterRow(c, buffer, access), 0);
  EXPECT_EQ(std::string(buffer.c_str()), first);
}

// Bytes only another hand than the server's puts in a store: "\xC3" without
// its second byte, and a lone "\x80". Each fits Latin-1 byte by byte, so the
// filter is given; the row itself cannot be, and is refused in its turn.
class BrokenRows : public LatinRows {
 protected:
  void SetUp() override {
    LatinRows::SetUp();
    esbsim::SqliteDb db;
    ASSERT_TRUE(db.open(store_.path()));
    ASSERT_TRUE(db.exec(
        "INSERT INTO filters(db, name, active, access) SELECT db, 'Broken', 1, 375"
        " FROM filters WHERE name = 'Latin';"
        "INSERT INTO rows(filter, seq, access, text) SELECT id, 1, 273, '\"Ok\"'"
        " FROM filters WHERE name = 'Broken';"
        "INSERT INTO rows(filter, seq, access, text) SELECT id, 2, 275, CAST(X'22C32022' AS TEXT)"
        " FROM filters WHERE name = 'Broken';"
        "INSERT INTO rows(filter, seq, access, text) SELECT id, 3, 0, '\"After\"'"
        " FROM filters WHERE name = 'Broken';"
        "INSERT INTO filters(db, name, active, access) SELECT db, 'Worse', 1, 375"
        " FROM filters WHERE name = 'Latin';"
        "INSERT INTO rows(filter, seq, access, text) SELECT id, 1, 273, CAST(X'228022' AS TEXT)"
        " FROM filters WHERE name = 'Worse';"
        "INSERT INTO rows(filter, seq, access, text) SELECT id, 2, 273, CAST(X'22E282AC22' AS TEXT)"
        " FROM filters WHERE name = 'Worse';"))
        << db.error();
  }
};

TEST_P(BrokenRows, RowThatIsNoUtf8IsRefusedInItsTurnAndStaysPending) {
  Handle c = Connect();
  int16_t active = -1, access = -1;
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Broken", active, access), 0);
  EXPECT_EQ(active, 1);
  EXPECT_EQ(access, 375);
  std::string row(64, '#');
  ASSERT_EQ(api().EsbGetFilterRow(c, row, access), 0);
  EXPECT_EQ(std::string(row.c_str()), "\"Ok\"");
  EXPECT_EQ(api().EsbGetFilterRow(c, row, access), ESB_STS_ROW_NOT_HELD);
  EXPECT_EQ(api().EsbGetFilterRow(c, row, access), ESB_STS_ROW_NOT_HELD);
}

// A character outside Latin-1 after such a row still refuses the filter whole.
TEST_P(BrokenRows, RowOutsideLatin1AfterOneThatIsNoUtf8RefusesTheFilter) {
  Handle c = Connect();
  int16_t active, access;
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Worse", active, access),
            ESB_STS_ROW_NOT_HELD);
  std::string row(64, '#');
  EXPECT_EQ(api().EsbGetFilterRow(c, row, access), ESB_STS_ROWS_NOT_OPEN);
}

// The refusal belongs to the row of that read: the filter read next on the
// same login has a row in the same place, and it comes.
TEST_P(BrokenRows, NextFilterReadIsGivenWhole) {
  Handle c = Connect();
  int16_t active, access;
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Broken", active, access), 0);
  std::string row(64, '#');
  ASSERT_EQ(api().EsbGetFilterRow(c, row, access), 0);
  ASSERT_EQ(api().EsbGetFilterRow(c, row, access), ESB_STS_ROW_NOT_HELD);
  EXPECT_EQ(ReadRows(c, "Sample", "Basic", "Latin"),
            (std::vector<Row>{{273, "\"R\xE9gion\""}, {275, "\"Actual\",\t\"M\xFCnchen\""}}));
}

SIM_EVERY_WAY(LatinRows);
SIM_EVERY_WAY(BrokenRows);

}  // namespace
}  // namespace simtest
