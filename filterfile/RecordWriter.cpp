#include "filterfile/RecordWriter.h"

#include "filterfile/RowRecord.h"

namespace filterfile {

bool RecordWriter::Encode(std::string_view text, std::string& scratch, std::string_view& out,
                          What what) {
  if (EncodeText(text, encoding_, scratch, out)) return true;
  // The file turns UTF-8 as a whole, or the text is not written.
  if (encoding_ == FileEncoding::Latin1 && widen && widen()) {
    encoding_ = FileEncoding::Utf8;
    return EncodeText(text, encoding_, scratch, out);
  }
  result_ = Result::NotEncodable;
  unheld_ = std::string(what.kind) + what.name;
  return false;
}

RecordWriter::Result RecordWriter::Write(const essbase::Database& db,
                                         const essbase::Filter& filter) {
  if (result_ != Result::Written || filter.rows.empty()) return result_;
  FileEncoding namesIn = encoding_;
  std::string_view app, database, name, text;
  const auto names = [&] {
    namesIn = encoding_;
    return Encode(db.application, app_, app, {"the application ", db.application}) &&
           Encode(db.database, db_, database, {"the database ", db.database}) &&
           Encode(filter.name, name_, name, {"the filter ", filter.name});
  };
  // A name that turned the file UTF-8 needs the names before it in UTF-8 too.
  if (!names() || (namesIn != encoding_ && !names())) return result_;
  for (const essbase::FilterRow& row : filter.rows) {
    if (!Encode(row.text, row_, text, {"a row of the filter ", filter.name})) return result_;
    // A row that turned the file UTF-8 needs its names in UTF-8 too.
    if (namesIn != encoding_ && !names()) return result_;
    if (!WriteRowRecord(out_, app, database, name, row.access, text)) {
      result_ = Result::StreamFailed;
      return result_;
    }
  }
  return result_;
}

bool RecordWriter::Receive(const essbase::Database& db, essbase::Filter& filter) {
  if (Write(db, filter) != Result::Written) return false;
  if (onFilter) onFilter(db, filter);
  return true;
}

}  // namespace filterfile
