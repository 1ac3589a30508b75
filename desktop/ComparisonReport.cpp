#include "desktop/ComparisonReport.h"

#include "desktop/ChangeCommand.h"
#include "desktop/Messages.h"

namespace desktop {

using compare::RowChange;
using compare::Verdict;

void ComparisonReport::Database(const std::string& application, const std::string& database) {
  database_ = application + "/" + database;
}

void ComparisonReport::Line(const std::string& filter, std::string_view difference, std::string row,
                            std::string now, std::string then, bool differs) {
  ComparisonLine line;
  if (withDatabase_) line.cells.push_back(database_);
  line.cells.insert(line.cells.end(), {filter, std::string(difference), std::move(row),
                                       std::move(now), std::move(then)});
  line.differs = differs;
  lines_.push_back(std::move(line));
}

void ComparisonReport::Filter(const compare::FilterDifference& d) {
  switch (d.verdict) {
    case Verdict::Same:
      if (keepSame_) Line(d.name, msg::DiffSame, {}, {}, {}, false);
      return;
    case Verdict::OnlyCurrent: return Line(d.name, msg::DiffOnlyOnServer);
    case Verdict::Deleted: return Line(d.name, msg::DiffDeleted);
    case Verdict::Unreadable: return Line(d.name, msg::DiffUnreadable);
    case Verdict::Created:
      // Its rows are all new: their number says it, not a line each.
      Line(d.name, msg::DiffCreated, msg::RowCount(d.incomingRows));
      if (d.laterDefinitionLost) Line(d.name, msg::DiffLaterLost);
      return;
    case Verdict::Changed:
      if (d.current->active != d.incoming->active)
        Line(d.name, msg::DiffActive, {}, std::to_string(d.current->active),
             std::to_string(d.incoming->active));
      if (d.current->access != d.incoming->access)
        Line(d.name, msg::DiffFilterAccess, {}, std::to_string(d.current->access),
             std::to_string(d.incoming->access));
      break;
  }
  for (const compare::RowEdit& e : d.rows) {
    switch (e.change) {
      case RowChange::Added:
        Line(d.name, msg::DiffRowAdded, e.text, {}, AccessName(e.after));
        break;
      case RowChange::Removed:
        Line(d.name, msg::DiffRowRemoved, e.text, AccessName(e.before));
        break;
      case RowChange::AccessChanged:
        Line(d.name, msg::DiffRowAccess, e.text, AccessName(e.before), AccessName(e.after));
        break;
    }
  }
  if (d.laterDefinitionLost) Line(d.name, msg::DiffLaterLost);
}

ComparisonView ComparisonReport::View(std::string title, std::string summary) {
  ComparisonView view;
  view.title = std::move(title);
  view.summary = std::move(summary);
  if (withDatabase_)
    view.columns.assign(msg::RestoreChangeColumns.begin(), msg::RestoreChangeColumns.end());
  else
    view.columns.assign(msg::CompareColumns.begin(), msg::CompareColumns.end());
  view.lines = std::move(lines_);
  return view;
}

std::string CountsOf(const compare::Tally& t) {
  return msg::ComparisonCounts(t.changed, t.created, t.deleted, t.onlyCurrent, t.unreadable,
                               t.same);
}

}  // namespace desktop
