#include "desktop/change/WritePass.h"

#include <exception>

namespace desktop::change {

namespace {

// Notes the first write that failed: the pass stops sending more.
class FirstFailure final : public essbase::WriteReceiver {
 public:
  void Outcome(essbase::WriteOutcome& o) override {
    if (!o.done) failed = true;
  }
  bool failed = false;
};

}  // namespace

WritePass::WritePass(essbase::Session& session, ChangeQuestions& questions, const RowStore& rows,
                     DatabaseName checkDatabase)
    : session_(session),
      questions_(questions),
      rows_(rows),
      checkDatabase_(std::move(checkDatabase)) {}

ChangeOutcome WritePass::Run(const ChangeRequest& request) {
  ChangeOutcome o;
  o.rows = rows_.Count();
  const RowMatcher matcher(request.searchText);
  for (;;) {
    if (rows_.Count() == 0) {
      o.end = ChangeEnd::NoRows;
      return o;
    }
    Pass pass = Pass::Failed;
    try {
      pass = WriteAll(request, matcher, o.changedFilters);
    } catch (const std::exception& e) {
      questions_.WriteFailedUnexpectedly(e.what());
    }
    if (pass == Pass::Done) {
      o.end = ChangeEnd::Changed;
      return o;
    }
    // Cancel: the filter being written stays as it was, and no later call
    // of this login commits what it left open.
    if (!Retry()) {
      o.end = ChangeEnd::Cancelled;
      return o;
    }
  }
}

WritePass::Pass WritePass::WriteAll(const ChangeRequest& request, const RowMatcher& matcher,
                                    int& count) {
  count = 0;
  const int filters = rows_.FilterCount();
  FirstFailure outcomes;
  // Every filter is written whole, once and never committed half-way: the
  // client library stops at its first failed call.
  std::unique_ptr<essbase::Writes> writes =
      session_.server().StartWrites(outcomes, {/*carryOn=*/false, /*closeWhenEmpty=*/false});
  const std::vector<FilterRowRecord>& rows = rows_.Rows();
  int written = 0;
  for (size_t first = 0; first < rows.size() && !outcomes.failed;) {
    size_t end = first;
    while (end < rows.size() && SameFilter(rows[end], rows[first])) ++end;
    const FilterRowRecord& head = rows[first];
    essbase::Filter filter{head.RowFilter, essbase::FilterActive, essbase::FilterAccess, {}};
    filter.rows.reserve(end - first);
    bool counted = false;
    for (size_t i = first; i < end; ++i) {
      const bool matches = matcher.Matches(rows[i].RowText);
      counted = counted || matches;
      filter.rows.push_back({matches ? request.newAccess : rows[i].RowAccess, rows[i].RowText});
    }
    questions_.Progress({ChangeProgress::Phase::Writing, ++written, filters, 0, 0});
    writes->Write({head.RowApplication, head.RowDatabase}, std::move(filter));
    if (counted) {
      ++count;
      questions_.ProcessEvents();
      questions_.ProcessEvents();
    }
    first = end;
  }
  writes->Finish();
  return outcomes.failed ? Pass::Failed : Pass::Done;
}

bool WritePass::Retry() {
  if (!questions_.RetryAfterWriteFailure()) return false;
  int32_t status = 1;
  bool again = true;
  while (again && status != 0) {
    // The login's own status is not tested: the activation tells, and it
    // is not made again after a login of its own.
    session_.Login();
    auto noLoginAgain = session_.Under(essbase::policy::None());
    status = session_.server()
                 .Activate({checkDatabase_.application, checkDatabase_.database})
                 .status;
    if (status != 0) again = questions_.TryLoginAgain();
  }
  return true;
}

}  // namespace desktop::change
