#include <gtest/gtest.h>

#include <sstream>

#include "filterfile/SelectionList.h"
#include "tests/filterfile/FailingStreams.h"

namespace filterfile {
namespace {

std::vector<std::string> Read(const std::string& bytes, SelectionReadOutcome* outcome = nullptr) {
  std::istringstream in(bytes);
  std::vector<std::string> names;
  const SelectionReadOutcome r =
      ReadSelectionList(in, [&](std::string_view name) { names.emplace_back(name); });
  if (outcome) *outcome = r;
  return names;
}

TEST(SelectionListFile, OneNamePerLineEachEndingCrLfNoHeader) {
  std::ostringstream out;
  EXPECT_TRUE(WriteSelectionList(out, {"ReadEast", "Read West"}));
  EXPECT_EQ(out.str(), "ReadEast\r\nRead West\r\n");
}

TEST(SelectionListFile, NoNamesWriteNothing) {
  std::ostringstream out;
  EXPECT_TRUE(WriteSelectionList(out, {}));
  EXPECT_EQ(out.str(), "");
}

TEST(SelectionListFile, FullDiskIsAFailure) {
  testing::FullDiskBuffer full(12);
  std::ostream out(&full);
  EXPECT_FALSE(WriteSelectionList(out, {"ReadEast", "ReadWest"}));
}

TEST(SelectionListFile, EveryLineEndReadsAndEmptyLinesNameNothing) {
  SelectionReadOutcome outcome = SelectionReadOutcome::ReadError;
  EXPECT_EQ(Read("A\r\nB\nC\rD\r\n\r\n\nE", &outcome),
            (std::vector<std::string>{"A", "B", "C", "D", "E"}));
  EXPECT_EQ(outcome, SelectionReadOutcome::Complete);
}

TEST(SelectionListFile, NamesKeptExactlyBlanksAndCaseIncluded) {
  EXPECT_EQ(Read(" readeast \tX\r\n"), (std::vector<std::string>{" readeast \tX"}));
}

TEST(SelectionListFile, LineTooLongForAnyNameEndsTheReading) {
  SelectionReadOutcome outcome = SelectionReadOutcome::Complete;
  Read("First\r\n" + std::string(5000, 'N') + "\r\nShort\r\n", &outcome);
  EXPECT_EQ(outcome, SelectionReadOutcome::LineTooLong);
}

TEST(SelectionListFile, BrokenDeviceIsAReadErrorNotAnEnd) {
  testing::BrokenReadBuffer broken("A\r\nB\r\n", 3);
  std::istream in(&broken);
  EXPECT_EQ(ReadSelectionList(in, [](std::string_view) {}), SelectionReadOutcome::ReadError);
}

}  // namespace
}  // namespace filterfile
