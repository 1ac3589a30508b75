#pragma once
// The side a write would put in place (an export file, a backup's records),
// read once through the ordinary reader and kept as an index: per name its
// values and where its rows lie in a spill file. Only names and positions
// stay in memory (some 150 bytes a filter); a filter's rows come back one
// filter at a time.
//
// Definitions follow the import: only a change of name starts a filter, and
// a name that comes back replaces its earlier definition. A definition that
// lost a row (a passed-over line, a file cut short) is left out, as the
// import leaves such a filter open: the one before it, if any, stands.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

#include "compare/Definition.h"
#include "compare/Spill.h"
#include "essbase/Constants.h"
#include "filterfile/FilterFileReader.h"

namespace compare {

class IncomingSet final : public filterfile::FilterSink {
 public:
  struct Entry {
    std::string name;  // without trailing blanks
    FilterValues values;
    bool defined = false;  // a complete definition (or one without rows) stands
    uint64_t offset = 0;   // its rows in the spill
    uint64_t length = 0;
    uint64_t rows = 0;
    bool laterLost = false;  // a definition after the standing one lost a row
    bool deleted = false;    // the write deletes this name
    bool seen = false;       // a current filter of this name was compared
  };

  // Every filter defined from now on gets `values`, as an import gives
  // active 1 and access 375 whatever the file held.
  explicit IncomingSet(FilterValues values = {essbase::FilterActive, essbase::FilterAccess})
      : values_(values) {}

  // A filter with values of its own (a backup's); without records it is a
  // filter without rows.
  void Expect(std::string_view name, FilterValues values);
  // A name the write deletes (a backup's created name).
  void Delete(std::string_view name);

  void OpenFilter(std::string_view name) override;
  void AddRow(std::string_view text, int16_t access) override;
  void CloseFilter() override;
  void PassedOver(uint64_t lineNumber) override;
  void RowLost() override { lost_ = true; }

  Entry* Find(std::string_view name);
  // Every entry, in the order its name first came.
  std::deque<Entry>& entries() { return entries_; }
  // The standing definition's rows, their text in `bytes`.
  bool Rows(const Entry& entry, std::vector<char>& bytes, std::vector<Row>& rows);

  uint64_t passedOver() const { return passedOver_; }
  uint64_t firstPassedOver() const { return firstPassedOver_; }
  // errno of a failure of the spill file, 0 when none.
  int spillError() const { return spill_.error(); }

 private:
  Entry& At(std::string_view name);

  FilterValues values_;
  std::deque<Entry> entries_;  // stable addresses: the index views their names
  std::unordered_map<std::string_view, Entry*> index_;
  Spill spill_;
  Entry* open_ = nullptr;
  uint64_t openOffset_ = 0;
  uint64_t openRows_ = 0;
  bool lost_ = false;
  uint64_t passedOver_ = 0;
  uint64_t firstPassedOver_ = 0;
};

// A name as the server keeps it: trailing blanks are not part of it.
std::string_view ServerName(std::string_view name);

}  // namespace compare
