#include "desktop/change/WritePass.h"

#include <exception>

namespace desktop::change {

using essbase::EssbaseApi;
using essbase::Handle;

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
    if (!Retry()) {
      // The filter being written stays open, so the server keeps its
      // previous definition; no later command may commit it.
      session_.definitions().LeftOpen();
      o.end = ChangeEnd::Cancelled;
      return o;
    }
  }
}

WritePass::Pass WritePass::WriteAll(const ChangeRequest& request, const RowMatcher& matcher,
                                    int& count) {
  count = 0;
  bool counted = false;
  const int filters = rows_.FilterCount();
  int written = 1;
  const FilterRowRecord* current = &rows_.Slot(1);
  questions_.Progress({ChangeProgress::Phase::Writing, written, filters, 0, 0});
  if (Open(*current) != 0) return Pass::Failed;
  for (const FilterRowRecord& slot : rows_.Rows()) {
    if (!SameFilter(slot, *current)) {
      if (Append(nullptr, essbase::FilterAccess) != 0) return Pass::Failed;
      questions_.Progress({ChangeProgress::Phase::Writing, ++written, filters, 0, 0});
      if (Open(slot) != 0) return Pass::Failed;
      current = &slot;
      counted = false;
    }
    if (matcher.Matches(slot.RowText)) {
      if (Append(slot.RowText.c_str(), request.newAccess) != 0) return Pass::Failed;
      if (!counted) {
        ++count;
        counted = true;
        questions_.ProcessEvents();
        questions_.ProcessEvents();
      }
    } else if (Append(slot.RowText.c_str(), slot.RowAccess) != 0) {
      return Pass::Failed;
    }
  }
  // The last filter is committed by this call like every other: a failure
  // here leaves it unwritten, which a count of changed filters must not hide.
  return Append(nullptr, essbase::FilterAccess) == 0 ? Pass::Done : Pass::Failed;
}

bool WritePass::Retry() {
  if (!questions_.RetryAfterWriteFailure()) return false;
  int32_t status = 1;
  bool again = true;
  while (again && status != 0) {
    // The login's own status is not tested: the activation tells.
    session_.Login();
    int16_t access = 0;
    status = session_.Run([&](EssbaseApi& api, Handle context) {
      return api.EsbSetActive(context, checkDatabase_.application.c_str(),
                              checkDatabase_.database.c_str(), access);
    });
    if (status != 0) again = questions_.TryLoginAgain();
  }
  return true;
}

int32_t WritePass::Open(const FilterRowRecord& record) {
  return session_.RunWrite([&](EssbaseApi& api, Handle context) {
    return api.EsbSetFilter(context, record.RowApplication.c_str(), record.RowDatabase.c_str(),
                            record.RowFilter.c_str(), essbase::FilterActive, essbase::FilterAccess);
  });
}

int32_t WritePass::Append(const char* text, int16_t access) {
  return session_.RunWrite(
      [&](EssbaseApi& api, Handle context) { return api.EsbSetFilterRow(context, text, access); });
}

}  // namespace desktop::change
