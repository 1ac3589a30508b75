#include "desktop/BackupBeforeWrite.h"

#include <fstream>

#include "backup/DefinedNames.h"
#include "desktop/Messages.h"

namespace desktop {

namespace {

std::vector<backup::FilterCopy> CopiesOf(const change::RowStore& rows) {
  std::vector<backup::FilterCopy> copies;
  const change::FilterRowRecord* previous = nullptr;
  for (const change::FilterRowRecord& row : rows.Rows()) {
    if (!previous || !change::SameFilter(*previous, row))
      copies.push_back(
          {row.RowApplication, row.RowDatabase, row.RowFilter, row.OwnActive, row.OwnAccess, {}});
    copies.back().rows.push_back({row.RowAccess, row.RowText});
    previous = &row;
  }
  return copies;
}

}  // namespace

backup::BackupOutcome BackupBeforeWrite(essbase::Session& session, const std::string& command,
                                        const std::vector<backup::Target>& targets,
                                        const backup::Place& place) {
  // No description covers it: a filter read is made again, whole, after a
  // new login.
  auto policed = session.Under(essbase::policy::WholeFilters(essbase::Policy::Login::Prompt));
  return backup::TakeBackup(session.server(), {command, session.conn().Server, targets}, place);
}

backup::BackupOutcome BackupBeforeChange(essbase::Session& session, const change::RowStore& rows,
                                         const backup::Place& place) {
  return backup::SaveCopies({"change", session.conn().Server, {}}, CopiesOf(rows), place);
}

backup::BackupOutcome BackupBeforeImport(essbase::Session& session, const std::string& file,
                                         const std::string& application,
                                         const std::string& database, const backup::Place& place) {
  std::ifstream in(file, std::ios::binary);
  // The import reports a file it cannot open, and then writes nothing.
  if (!in.is_open()) return {backup::BackupResult::NothingToBackUp, {}, {}, 0, {}};
  uint64_t tooLong = 0;
  std::optional<std::vector<std::string>> names = backup::NamesDefinedBy(in, &tooLong);
  if (!names)
    return {backup::BackupResult::WriteFailed, {},
            tooLong ? msg::ImportLineTooLong(tooLong) : std::string(msg::ImportFileUnreadable), 0, {}};
  const backup::Request request =
      backup::ImportRequest(session.conn().Server, application, database, std::move(*names));
  return BackupBeforeWrite(session, request.command, request.targets, place);
}

}  // namespace desktop
