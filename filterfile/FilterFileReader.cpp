#include "filterfile/FilterFileReader.h"

#include <string>

#include "filterfile/LineReader.h"
#include "filterfile/RowRecord.h"
#include "filterfile/TextEncoding.h"

namespace filterfile {

namespace {

// Which filter a passed-over line may have been a row of. A line that names
// its filter belongs to that one; a line without a readable name could
// belong to the filter before it or to the one after it, so both lose it.
class LostRows {
 public:
  // The line's filter, when it is not the open one, is the next to begin.
  void Line(std::string_view name, bool named, bool open, std::string_view openName,
            FilterSink& sink) {
    const bool ofOpen = open && (!named || SameFilterName(name, openName));
    if (ofOpen) sink.RowLost();
    if (!named) {
      anyNext_ = true;
    } else if (!ofOpen) {
      if (!haveNext_) {
        next_.assign(name);
        haveNext_ = true;
      } else if (!SameFilterName(next_, name)) {
        anyNext_ = true;  // one name kept: more than one means any
      }
    }
  }
  // A record follows; `begins` when it starts a new filter.
  void Record(std::string_view name, bool begins, FilterSink& sink) {
    if (begins && (anyNext_ || (haveNext_ && SameFilterName(next_, name)))) sink.RowLost();
    anyNext_ = haveNext_ = false;
  }

 private:
  bool anyNext_ = false;
  bool haveNext_ = false;
  std::string next_;
};

}  // namespace

std::string_view ServerFilterName(std::string_view name) {
  size_t n = name.size();
  while (n > 0 && name[n - 1] == ' ') --n;
  return name.substr(0, n);
}

bool SameFilterName(std::string_view a, std::string_view b) {
  return ServerFilterName(a) == ServerFilterName(b);
}

ReadOutcome ReadFilterFile(std::istream& in, FilterSink& sink, uint64_t* stoppedAt,
                           std::optional<FileEncoding> encoding) {
  const FileEncoding text = encoding ? *encoding : ReadEncodingMark(in);
  LineReader reader(in, MaxRecordLine);
  std::string line;
  std::string previous;
  bool open = false;
  LostRows lost;
  for (;;) {
    LineReader::Result r = reader.Next(line);
    if (r == LineReader::Result::ReadError || r == LineReader::Result::TooLong) {
      if (open) {
        sink.RowLost();
        sink.CloseFilter();
      }
      if (stoppedAt) *stoppedAt = reader.lineNumber() + (r == LineReader::Result::ReadError);
      return r == LineReader::Result::TooLong ? ReadOutcome::LineTooLong : ReadOutcome::ReadError;
    }
    if (r == LineReader::Result::End) break;
    const bool decoded = DecodeLine(line, text);
    const std::optional<RowFields> fields =
        decoded ? ParseRowRecord(line) : std::optional<RowFields>();
    if (!fields) {
      sink.PassedOver(reader.lineNumber());
      std::optional<std::string_view> name =
          decoded ? RecordName(line) : std::optional<std::string_view>();
      lost.Line(name.value_or(std::string_view()), name.has_value(), open, previous, sink);
      continue;
    }
    const bool begins = !open || !SameFilterName(fields->filter, previous);
    if (begins) {
      if (open) sink.CloseFilter();
      previous.assign(fields->filter);
      open = true;
      sink.OpenFilter(previous);
    }
    lost.Record(fields->filter, begins, sink);
    sink.AddRow(fields->text, fields->access);
  }
  sink.CloseFilter();
  return ReadOutcome::Complete;
}

}  // namespace filterfile
