#include "compare/DatabaseSide.h"

namespace compare {

namespace {

// Hands each filter to the comparison with its rows as the comparison
// views them; the reading stops when the comparison's spill fails.
class CurrentSide final : public essbase::FilterReceiver {
 public:
  explicit CurrentSide(Comparison& comparison) : comparison_(comparison) {}

  bool Receive(const essbase::Database&, essbase::Filter& filter) override {
    current_.name = filter.name;
    current_.values = {filter.active, filter.access};
    current_.rows.clear();
    for (const essbase::FilterRow& row : filter.rows) current_.rows.push_back({row.text, row.access});
    spillOk_ = comparison_.Current(current_);
    return spillOk_;
  }
  bool spillOk() const { return spillOk_; }

 private:
  Comparison& comparison_;
  FilterDefinition current_;
  bool spillOk_ = true;
};

}  // namespace

CompareEnd CompareWithDatabase(essbase::Server& server, const essbase::Database& db,
                               const ServerRead& read, Comparison& comparison,
                               essbase::Failure& failure) {
  CurrentSide current(comparison);
  essbase::ReadOptions options;
  options.rowBuffer = read.rowBuffer;
  failure = server.ReadDatabase(db, nullptr, options, current);
  if (!current.spillOk()) return CompareEnd::SpillFailed;
  if (failure) return CompareEnd::ServerFailure;
  return comparison.Finish() ? CompareEnd::Compared : CompareEnd::SpillFailed;
}

}  // namespace compare
