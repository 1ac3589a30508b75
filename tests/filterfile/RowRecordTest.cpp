#include <gtest/gtest.h>

#include <sstream>

#include "filterfile/RowRecord.h"
#include "tests/filterfile/FailingStreams.h"

namespace filterfile {
namespace {

std::string Written(std::string_view app, std::string_view db, std::string_view filter,
                    int16_t access, std::string_view text) {
  std::ostringstream out;
  EXPECT_TRUE(WriteRowRecord(out, app, db, filter, access, text));
  return out.str();
}

TEST(RowRecordWriter, RecordEndsInCrCrLf) {
  EXPECT_EQ(Written("Finance", "Plan", "ReadEast", 273, "East"),
            "Finance\tPlan\tReadEast\t273\tEast\r\r\n");
}

TEST(RowRecordWriter, NegativeAccessKeepsSignNoPadding) {
  EXPECT_EQ(Written("A", "B", "F", -32768, "x"), "A\tB\tF\t-32768\tx\r\r\n");
  EXPECT_EQ(Written("A", "B", "F", 0, "x"), "A\tB\tF\t0\tx\r\r\n");
}

TEST(RowRecordWriter, TabInRowWrittenAsIs) {
  EXPECT_EQ(Written("A", "B", "F", 275, "@IDESC(\"East\")\t,\t\"Sales\""),
            "A\tB\tF\t275\t@IDESC(\"East\")\t,\t\"Sales\"\r\r\n");
}

TEST(RowRecordWriter, EightBitBytesUntouched) {
  const std::string text("\xe9t\xe9 \xff", 5);
  EXPECT_EQ(Written("A", "B", "F", 1, text), "A\tB\tF\t1\t" + text + "\r\r\n");
}

TEST(RowRecordWriter, RowOfDesktopBufferSizeWrittenWhole) {
  const std::string text(2999, 'r');
  EXPECT_EQ(Written("Finance", "Plan", "F", 273, text),
            "Finance\tPlan\tF\t273\t" + text + "\r\r\n");
}

TEST(RowRecordWriter, FullDiskReportsFailureForLongRecordToo) {
  testing::FullDiskBuffer disk(2000);
  std::ostream out(&disk);
  EXPECT_FALSE(WriteRowRecord(out, "A", "B", "F", 1, std::string(2999, 'r')));
  EXPECT_TRUE(out.bad());
}

TEST(RowRecordWriter, FullDiskReportsFailure) {
  testing::FullDiskBuffer disk(10);
  std::ostream out(&disk);
  EXPECT_FALSE(WriteRowRecord(out, "Finance", "Plan", "ReadEast", 273, "East"));
}

struct ParseCase {
  const char* name;
  std::string line;
  bool isRecord;
  std::string filter;
  int16_t access;
  std::string text;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << c.name;
}

class RowRecordParser : public ::testing::TestWithParam<ParseCase> {};

TEST_P(RowRecordParser, Fields) {
  const ParseCase& c = GetParam();
  auto fields = ParseRowRecord(c.line);
  ASSERT_EQ(fields.has_value(), c.isRecord);
  if (!c.isRecord) return;
  EXPECT_EQ(fields->filter, c.filter);
  EXPECT_EQ(fields->access, c.access);
  EXPECT_EQ(fields->text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RowRecordParser,
    ::testing::Values(
        ParseCase{"Plain", "Finance\tPlan\tReadEast\t273\tEast", true, "ReadEast", 273, "East"},
        ParseCase{"TabsInRowKept", "a\tb\tF\t0\tx\ty\t", true, "F", 0, "x\ty\t"},
        ParseCase{"EmptyRowText", "a\tb\tF\t0\t", true, "F", 0, ""},
        ParseCase{"EmptySourceFields", "\t\tF\t275\tx", true, "F", 275, "x"},
        ParseCase{"LowestInt16", "a\tb\tF\t-32768\tx", true, "F", -32768, "x"},
        ParseCase{"HighestInt16", "a\tb\tF\t32767\tx", true, "F", 32767, "x"},
        ParseCase{"BlanksKeptInName", "a\tb\t F \t1\t x ", true, " F ", 1, " x "},
        ParseCase{"ThreeTabsOnly", "a\tb\tF\t273", false, "", 0, ""},
        ParseCase{"NoTabAtAll", "just a line", false, "", 0, ""},
        ParseCase{"AccessAboveInt16", "a\tb\tF\t32768\tx", false, "", 0, ""},
        ParseCase{"AccessBelowInt16", "a\tb\tF\t-32769\tx", false, "", 0, ""},
        ParseCase{"AccessHuge", "a\tb\tF\t99999999999999999999\tx", false, "", 0, ""},
        ParseCase{"AccessNotNumber", "a\tb\tF\tRead\tx", false, "", 0, ""},
        ParseCase{"AccessFraction", "a\tb\tF\t27.5\tx", false, "", 0, ""},
        ParseCase{"AccessTrailingJunk", "a\tb\tF\t273x\tx", false, "", 0, ""},
        ParseCase{"AccessWithBlank", "a\tb\tF\t 273\tx", false, "", 0, ""},
        ParseCase{"AccessPlusSign", "a\tb\tF\t+273\tx", false, "", 0, ""},
        ParseCase{"AccessMinusAlone", "a\tb\tF\t-\tx", false, "", 0, ""},
        ParseCase{"AccessEmpty", "a\tb\tF\t\tx", false, "", 0, ""},
        ParseCase{"FilterNameEmpty", "a\tb\t\t273\tx", false, "", 0, ""},
        // The server takes NUL-terminated texts: a NUL would cut them silently.
        ParseCase{"NulInRowText", std::string("a\tb\tF\t1\tEast\0West", 17), false, "", 0, ""},
        ParseCase{"NulInFilterName", std::string("a\tb\tF\0G\t1\tx", 11), false, "", 0, ""},
        ParseCase{"NulInSkippedFields", std::string("a\0\tb\0\tF\t1\tx", 11), true, "F", 1, "x"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace filterfile
