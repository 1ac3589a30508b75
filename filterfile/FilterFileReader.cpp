#include "filterfile/FilterFileReader.h"

#include <string>

#include "filterfile/LineReader.h"
#include "filterfile/RowRecord.h"

namespace filterfile {

ReadOutcome ReadFilterFile(std::istream& in, FilterSink& sink) {
  LineReader reader(in);
  std::string line;
  std::string previous;
  for (;;) {
    LineReader::Result r = reader.Next(line);
    if (r == LineReader::Result::ReadError) return ReadOutcome::ReadError;
    if (r == LineReader::Result::End) break;
    std::optional<RowFields> fields;
    if (!reader.tooLong()) fields = ParseRowRecord(line);
    if (!fields) {
      sink.PassedOver(reader.lineNumber());
      continue;
    }
    if (fields->filter != previous) {
      if (!previous.empty()) sink.CloseFilter();
      previous.assign(fields->filter);
      sink.OpenFilter(previous);
    }
    sink.AddRow(fields->text, fields->access);
  }
  sink.CloseFilter();
  return ReadOutcome::Complete;
}

}  // namespace filterfile
