#include "compare/DatabaseSide.h"

#include <istream>
#include <ostream>
#include <streambuf>

#include "filterfile/RecordProducer.h"

namespace compare {

namespace {

// Holds the records written since the last Clear; its capacity stays that
// of the largest filter read.
class RecordBuffer final : public std::streambuf {
 public:
  std::string_view view() const { return bytes_; }
  void Clear() { bytes_.clear(); }

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof()))
      bytes_.push_back(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    bytes_.append(s, static_cast<size_t>(n));
    return n;
  }

 private:
  std::string bytes_;
};

// Reads a byte range in memory as a stream.
class ViewBuffer final : public std::streambuf {
 public:
  explicit ViewBuffer(std::string_view bytes) {
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
  }
};

// The rows of the one filter a buffer's records hold, their text in one
// block that keeps its capacity from filter to filter.
class RowCollector final : public filterfile::FilterSink {
 public:
  void OpenFilter(std::string_view) override {}
  void AddRow(std::string_view text, int16_t access) override {
    spans_.push_back({text_.size(), text.size(), access});
    text_.append(text);
  }
  void CloseFilter() override {}
  void PassedOver(uint64_t) override {}
  void RowLost() override {}

  void Clear() {
    spans_.clear();
    text_.clear();
  }
  // The rows read since Clear, valid until the next Clear; the reader's own
  // views of them do not last.
  void Take(std::vector<Row>& rows) const {
    rows.clear();
    for (const Span& s : spans_)
      rows.push_back({std::string_view(text_).substr(s.at, s.size), s.access});
  }

 private:
  struct Span {
    size_t at;
    size_t size;
    int16_t access;
  };
  std::string text_;
  std::vector<Span> spans_;
};

}  // namespace

CompareEnd CompareWithDatabase(essbase::EssbaseApi& api, const essbase::Handle& context,
                               const std::string& application, const std::string& database,
                               const ServerRead& read, Comparison& comparison) {
  RecordBuffer buffer;
  std::ostream records(&buffer);
  RowCollector rows;
  FilterDefinition filter;
  bool spillOk = true;
  filterfile::ProducerOptions options;
  options.rowBuffer = read.rowBuffer;
  options.hooks = read.hooks;
  options.onFilter = [&](std::string_view name, int16_t active, int16_t access, uint64_t) {
    filter.name.assign(name);
    filter.values = {active, access};
    ViewBuffer view(buffer.view());
    std::istream in(&view);
    rows.Clear();
    filterfile::ReadFilterFile(in, rows);
    rows.Take(filter.rows);
    buffer.Clear();
    // A failed stream makes the producer stop at its next record.
    if (!comparison.Current(filter)) {
      spillOk = false;
      records.setstate(std::ios::badbit);
    }
  };
  const filterfile::ProduceOutcome produced =
      filterfile::ProduceRecords(api, context, application, database, records, options);
  if (!spillOk) return CompareEnd::SpillFailed;
  if (produced != filterfile::ProduceOutcome::Complete) return CompareEnd::ServerFailure;
  return comparison.Finish() ? CompareEnd::Compared : CompareEnd::SpillFailed;
}

}  // namespace compare
