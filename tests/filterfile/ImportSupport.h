#pragma once
// A file's text imported into Ledger/Actuals as Import makes it (the
// reader feeding an ImportWriter), and what the report said, in its order.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "filterfile/FilterFileReader.h"
#include "filterfile/ImportWriter.h"
#include "tests/support/LibraryRig.h"

namespace filterfile::testing {

using essbase::Failure;
using essbase::WriteOutcome;

inline const essbase::Database Ledger{"Ledger", "Actuals"};

// Each event one line: "line N", "failed F Call:status", "ended F how".
class RecordedReport final : public ImportReport {
 public:
  void PassedOver(uint64_t lineNumber) override {
    passedOver.push_back(lineNumber);
    log.push_back("line " + std::to_string(lineNumber));
  }
  void CallFailed(const WriteOutcome& o, const Failure& f) override {
    failures.push_back(f.call + ":" + std::to_string(f.status));
    log.push_back("failed " + Name(o) + " " + failures.back());
  }
  void Ended(const WriteOutcome& o) override {
    const bool close = o.kind == WriteOutcome::Kind::Close;
    const char* how = o.done                      ? "done"
                      : o.skipped                 ? "skipped"
                      : o.failure.unknownOutcome  ? "unknown"
                                                  : "unchanged";
    if (!close && std::string(how) == "unchanged") leftUnchanged.push_back(o.name);
    log.push_back("ended " + Name(o) + " " + how);
  }
  static std::string Name(const WriteOutcome& o) {
    return o.kind == WriteOutcome::Kind::Close ? "close" : o.name;
  }

  std::vector<std::string> log;
  std::vector<uint64_t> passedOver;
  std::vector<std::string> failures;
  std::vector<std::string> leftUnchanged;
};

// What the writer counted once the file was read.
struct ImportCounts {
  ReadOutcome outcome = ReadOutcome::ReadError;
  uint64_t stoppedAt = 0;
  uint64_t committed = 0;
  uint64_t leftUnchanged = 0;
  uint64_t unknown = 0;
  uint64_t skipped = 0;
  uint64_t passedOver = 0;
  uint64_t firstPassedOver = 0;
  bool serverOk = false;
  bool ok = false;
  Failure firstFailure;
};

inline ImportCounts RunImport(essbase::Server& server, std::istream& in, RecordedReport& report,
                              const essbase::WriteOptions& options = {true, true}) {
  ImportCounts c;
  ImportWriter writer(server, Ledger, report, options);
  c.outcome = ReadFilterFile(in, writer, &c.stoppedAt);
  writer.Finish();
  c.committed = writer.committed();
  c.leftUnchanged = writer.leftUnchanged();
  c.unknown = writer.unknown();
  c.skipped = writer.skipped();
  c.passedOver = writer.passedOverCount();
  c.firstPassedOver = writer.firstPassedOver();
  c.serverOk = writer.serverOk();
  c.ok = writer.ok();
  c.firstFailure = writer.firstFailure();
  return c;
}

// Imports through the client library's backend over the recording fake.
class ImportOverLibrary : public ::testing::Test, protected essbase::testing::LibraryRig {
 protected:
  ImportOverLibrary() { api.AddDatabase("Ledger", "Actuals"); }

  bool Import(const std::string& text) {
    std::istringstream in(text);
    return Import(in);
  }
  bool Import(std::istream& in) {
    counts = RunImport(server, in, report, options);
    return counts.ok;
  }
  // The rows the server holds for a filter, "-" when it has none such.
  std::string Rows(const std::string& name) {
    const essbase::testing::FakeFilter* f = api.FindFilter("Ledger", "Actuals", name);
    if (!f) return "-";
    std::string text;
    for (const essbase::testing::FakeRow& r : f->rows) text += (text.empty() ? "" : ",") + r.text;
    return text;
  }

  essbase::WriteOptions options{true, true};
  RecordedReport report;
  ImportCounts counts;
};

}  // namespace filterfile::testing
