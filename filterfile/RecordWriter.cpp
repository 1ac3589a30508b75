#include "filterfile/RecordWriter.h"

#include "filterfile/RowRecord.h"

namespace filterfile {

bool RecordWriter::Encode(std::string_view text, std::string& out, const std::string& what) {
  if (EncodeText(text, encoding_, out)) return true;
  result_ = Result::NotEncodable;
  unheld_ = what;
  return false;
}

RecordWriter::Result RecordWriter::Write(const essbase::Database& db,
                                         const essbase::Filter& filter) {
  if (result_ != Result::Written) return result_;
  if (!filter.rows.empty() &&
      (!Encode(db.application, app_, "the application " + db.application) ||
       !Encode(db.database, db_, "the database " + db.database) ||
       !Encode(filter.name, name_, "the filter " + filter.name)))
    return result_;
  for (const essbase::FilterRow& row : filter.rows) {
    if (!Encode(row.text, row_, "a row of the filter " + filter.name)) return result_;
    if (!WriteRowRecord(out_, app_, db_, name_, row.access, row_)) {
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
