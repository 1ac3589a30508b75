#pragma once
// FilterRows: the rows a change run read, in reading order. The copy the
// write pass rewrites every filter from, again after each retry, so it is
// complete or the run never writes.
#include <cstdint>
#include <string>
#include <vector>

namespace desktop::change {

struct FilterRowRecord {
  std::string RowDatabase;
  std::string RowApplication;
  std::string RowFilter;
  int16_t RowAccess = 0;  // the row's own access code as read
  std::string RowText;
  // The filter's own active flag and access as read: the write pass sets
  // its own, the backup before it keeps these.
  int16_t OwnActive = 1;
  int16_t OwnAccess = 0;
};

// Whether two slots belong to one filter: a new filter starts wherever the
// name, the application or the database differs (exact comparisons).
inline bool SameFilter(const FilterRowRecord& a, const FilterRowRecord& b) {
  return a.RowFilter == b.RowFilter && a.RowApplication == b.RowApplication &&
         a.RowDatabase == b.RowDatabase;
}

class RowStore {
 public:
  // Slots 1 to MaxRows: a run holds at most this many rows in all.
  static constexpr int MaxRows = 10000;

  // A run starts empty (NextRow 1); the previous run's rows stay until then.
  void Clear() { rows_.clear(); }
  // False, storing nothing, when every slot is taken.
  bool Add(FilterRowRecord record);
  int Count() const { return static_cast<int>(rows_.size()); }
  int NextRow() const { return Count() + 1; }
  // Slots count from 1.
  const FilterRowRecord& Slot(int slot) const { return rows_.at(static_cast<size_t>(slot - 1)); }
  const std::vector<FilterRowRecord>& Rows() const { return rows_; }
  // Number of filters the rows belong to.
  int FilterCount() const;

 private:
  std::vector<FilterRowRecord> rows_;
};

}  // namespace desktop::change
