#pragma once
// Doubles for the driver: a run log in memory and a clock that stands still;
// the shared test files.
#include <string>

#include "cli/Clock.h"
#include "cli/RunLog.h"
#include "tests/support/TestFiles.h"

namespace cli::testing {

class MemoryLog : public LogSink {
 public:
  std::string bytes;
  int failFromLine = -1;  // 0-based line number from which writes fail
  int lines = 0;
  bool WriteLine(std::string_view line) override {
    if (failFromLine >= 0 && lines >= failFromLine) return false;
    ++lines;
    bytes.append(line).append("\r\n");
    return true;
  }
};

class FixedClock : public Clock {
 public:
  LocalTime Now() override { return {2026, 3, 7, 13, 5, 9}; }
};

constexpr const char* FixedDateLine = "//Process starting at 3/7/2026 1:05:09 PM\r\n";

using support::ReadFile;
using support::TempDir;
using support::WriteFile;

}  // namespace cli::testing
