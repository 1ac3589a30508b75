#include "compare/Comparison.h"

namespace compare {

void Comparison::Report(FilterDifference& difference) {
  tally_.Count(difference.verdict);
  out_.Filter(difference);
}

bool Comparison::Current(const FilterDefinition& filter) {
  IncomingSet::Entry* entry = incoming_.Find(filter.name);
  if (!entry && scope_ == Scope::NamedFilters) return true;
  FilterDifference d;
  d.name = ServerName(filter.name);
  d.current = filter.values;
  d.currentRows = filter.rows.size();
  if (!entry) {
    d.verdict = Verdict::OnlyCurrent;
    Report(d);
    return true;
  }
  entry->seen = true;
  if (entry->deleted) {
    d.verdict = Verdict::Deleted;
  } else if (!entry->defined) {
    // The import leaves a filter it could not read whole as it is.
    d.verdict = Verdict::Unreadable;
  } else {
    if (!incoming_.Rows(*entry, bytes_, rows_)) return false;
    d.incoming = entry->values;
    d.incomingRows = rows_.size();
    d.laterDefinitionLost = entry->laterLost;
    if (rows_ != filter.rows) d.rows = DiffRows(filter.rows, rows_);
    const bool same = d.rows.empty() && filter.values == entry->values;
    d.verdict = same ? Verdict::Same : Verdict::Changed;
  }
  Report(d);
  return true;
}

bool Comparison::Finish() {
  for (IncomingSet::Entry& entry : incoming_.entries()) {
    // A name to delete that the database does not hold needs nothing.
    if (entry.seen || entry.deleted) continue;
    FilterDifference d;
    d.name = entry.name;
    if (!entry.defined) {
      d.verdict = Verdict::Unreadable;
    } else {
      if (!incoming_.Rows(entry, bytes_, rows_)) return false;
      d.verdict = Verdict::Created;
      d.incoming = entry.values;
      d.incomingRows = rows_.size();
      d.laterDefinitionLost = entry.laterLost;
      d.rows.reserve(rows_.size());
      for (const Row& r : rows_)
        d.rows.push_back({RowChange::Added, std::string(r.text), 0, r.access});
    }
    Report(d);
  }
  return true;
}

}  // namespace compare
