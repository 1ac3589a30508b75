// The filter file reader and the record parser on any bytes: the reader keeps
// its protocol with the sink, and every record it takes writes back and
// parses to the same fields.
#include <cstdint>
#include <sstream>
#include <string>

#include "filterfile/FilterFileReader.h"
#include "filterfile/RowRecord.h"
#include "fuzz/FuzzCheck.h"

namespace {

bool CleanName(std::string_view s) {
  return !s.empty() && s.find_first_of(std::string_view("\t\r\n\0", 4)) == std::string_view::npos;
}

// Checks the calls a reader makes against the sink's contract.
class ProtocolSink : public filterfile::FilterSink {
 public:
  void OpenFilter(std::string_view name) override {
    FUZZ_CHECK(!open_);
    FUZZ_CHECK(CleanName(name));
    FUZZ_CHECK(!filterfile::SameFilterName(name, last_) || !named_);
    open_ = true;
    named_ = true;
    last_.assign(name);
  }
  void AddRow(std::string_view text, int16_t) override {
    FUZZ_CHECK(open_);
    FUZZ_CHECK(text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
  }
  void CloseFilter() override {
    FUZZ_CHECK(!closedAtEnd_);
    if (!open_) closedAtEnd_ = true;  // only the file's end closes with nothing open
    open_ = false;
  }
  void PassedOver(uint64_t lineNumber) override {
    FUZZ_CHECK(lineNumber > lastLine_);
    lastLine_ = lineNumber;
  }
  void RowLost() override { FUZZ_CHECK(open_); }
  bool everyFilterClosed() const { return !open_; }

 private:
  bool open_ = false;
  bool named_ = false;
  bool closedAtEnd_ = false;
  std::string last_;
  uint64_t lastLine_ = 0;
};

void CheckRecordRoundTrip(std::string_view line) {
  std::optional<filterfile::RowFields> fields = filterfile::ParseRowRecord(line);
  if (!fields) return;
  FUZZ_CHECK(filterfile::RecordName(line) == fields->filter);
  std::ostringstream out;
  FUZZ_CHECK(
      filterfile::WriteRowRecord(out, "app", "db", fields->filter, fields->access, fields->text));
  std::string written = out.str();
  FUZZ_CHECK(written.size() >= 3 && written.compare(written.size() - 3, 3, "\r\r\n") == 0);
  written.resize(written.size() - 3);
  std::optional<filterfile::RowFields> again = filterfile::ParseRowRecord(written);
  FUZZ_CHECK(again);
  FUZZ_CHECK(again->filter == fields->filter);
  FUZZ_CHECK(again->access == fields->access);
  FUZZ_CHECK(again->text == fields->text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream in(bytes);
  ProtocolSink sink;
  // A memory stream never fails: only a line longer than any record stops it.
  const filterfile::ReadOutcome read = filterfile::ReadFilterFile(in, sink);
  FUZZ_CHECK(read == filterfile::ReadOutcome::Complete ||
             read == filterfile::ReadOutcome::LineTooLong);
  FUZZ_CHECK(sink.everyFilterClosed());

  std::string_view rest = bytes;
  while (!rest.empty()) {
    const size_t end = rest.find_first_of("\r\n");
    CheckRecordRoundTrip(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return 0;
}
