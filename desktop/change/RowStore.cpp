#include "desktop/change/RowStore.h"

namespace desktop::change {

bool RowStore::Add(FilterRowRecord record) {
  if (Count() >= MaxRows) return false;
  // Room for a whole run at once: growing by copies would move every row
  // read so far, again and again, in the run's hot loop.
  if (rows_.capacity() == 0) rows_.reserve(MaxRows);
  rows_.push_back(std::move(record));
  return true;
}

int RowStore::FilterCount() const {
  int filters = 0;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (i == 0 || !SameFilter(rows_[i], rows_[i - 1])) ++filters;
  return filters;
}

}  // namespace desktop::change
