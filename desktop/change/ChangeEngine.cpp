#include "desktop/change/ChangeEngine.h"

#include "desktop/change/ReadPass.h"
#include "desktop/change/WritePass.h"

namespace desktop::change {

ChangeOutcome ChangeEngine::Run(const ChangeScope& scope, const ChangeRequest& request,
                                RowStore& rows, const BeforeWrite& beforeWrite) {
  // Only the activation is made again after the server ended the login;
  // the write pass has its retry protocol.
  auto policed = session_.Under(essbase::policy::Activation());
  ChangeOutcome read = ReadPass(session_, questions_, rows).Run(scope);
  if (read.end != ChangeEnd::Read) return read;
  if (beforeWrite && rows.Count() > 0 && !beforeWrite(rows, read.description)) {
    read.end = ChangeEnd::BackupFailed;
    return read;
  }
  // One database: the run's own. All databases: the run has many and the
  // tree's selected node need not be one of them, so the first marked one.
  return WritePass(session_, questions_, rows, scope.databases.front()).Run(request);
}

ChangeOutcome ChangeEngine::Preview(const ChangeScope& scope, const ChangeRequest& request,
                                    std::vector<FilterRowRecord>& matches) {
  matches.clear();
  auto policed = session_.Under(essbase::policy::Activation());
  RowStore rows;
  ChangeOutcome o = ReadPass(session_, questions_, rows).Run(scope);
  if (o.end != ChangeEnd::Read) return o;
  if (rows.Count() == 0) {
    o.end = ChangeEnd::NoRows;
    return o;
  }
  // Counted as the write pass counts: a filter once, however many rows hit.
  const RowMatcher matcher(request.searchText);
  const FilterRowRecord* counted = nullptr;
  for (const FilterRowRecord& row : rows.Rows()) {
    if (!matcher.Matches(row.RowText)) continue;
    if (!counted || !SameFilter(*counted, row)) ++o.changedFilters;
    counted = &row;
    matches.push_back(row);
  }
  return o;
}

}  // namespace desktop::change
