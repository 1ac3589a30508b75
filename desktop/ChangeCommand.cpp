#include "desktop/ChangeCommand.h"

#include "desktop/BackupBeforeWrite.h"
#include "desktop/HoldStill.h"
#include "desktop/Messages.h"
#include "desktop/Selection.h"
#include "desktop/change/ChangeEngine.h"
#include "desktop/change/ReadPass.h"

namespace desktop {

namespace {

using change::ChangeEnd;

constexpr int16_t AccessCodes[] = {essbase::AccessNone, essbase::AccessRead, essbase::AccessWrite};

// The retry protocol's questions and the run's progress, in the window.
class WindowQuestions final : public change::ChangeQuestions {
 public:
  explicit WindowQuestions(WindowState& state) : state_(state) {}
  ~WindowQuestions() override {
    if (!shown_.empty()) state_.port.ShowProgress("");
  }

  bool RetryAfterWriteFailure() override {
    return state_.port.ShowMessage(msg::ChangeWriteFailed(), msg::DefaultTitle,
                                   MessageIcon::Critical,
                                   MessageButtons::RetryCancel) == MessageAnswer::Retry;
  }
  bool TryLoginAgain() override {
    return state_.port.ShowMessage(msg::StillCannotLogin, msg::DefaultTitle, MessageIcon::Question,
                                   MessageButtons::YesNo) == MessageAnswer::Yes;
  }
  void WriteFailedUnexpectedly(std::string_view description) override {
    state_.port.ShowMessage(description, msg::DefaultTitle, MessageIcon::None, MessageButtons::OK);
  }
  void ProcessEvents() override { state_.port.ProcessEvents(); }
  void Progress(const change::ChangeProgress& p) override {
    using Phase = change::ChangeProgress::Phase;
    std::string text;
    if (p.phase == Phase::Writing)
      text = msg::ProgressWriting(p.filters, p.total);
    else if (p.total > 0)
      text = msg::ProgressReading(p.filters, p.total);
    else
      text = msg::ProgressReadingMarked(p.filters, p.database, p.databases);
    if (text == shown_) return;
    shown_ = std::move(text);
    state_.port.ShowProgress(shown_);
  }

 private:
  WindowState& state_;
  std::string shown_;
};

change::ChangeScope ScopeOf(const Selection& selection) {
  change::ChangeScope scope;
  scope.allDatabases = selection.allDatabases;
  for (const SelectedDatabase& db : selection.databases)
    scope.databases.push_back({db.application, db.database});
  if (!scope.allDatabases) scope.filters = selection.tickedFilters;
  return scope;
}

change::ChangeRequest RequestOf(const ChangeDialogValues& values) {
  return {AccessOf(values.accessText), values.searchText};
}

void Tell(WindowState& state, std::string_view text, MessageIcon icon,
          std::string_view title = msg::DefaultTitle) {
  state.port.ShowMessage(text, title, icon, MessageButtons::OK);
}


// Rows through the client library are 8-bit: a character they cannot hold
// would match nothing, or, as a stand-in '?', a literal '?'. Refused by name
// and place; over REST every character is the server's.
bool RefusedSearchText(WindowState& state, const ChangeDialogValues& values) {
  if (state.session.OverRest()) return false;
  const auto beyond = change::FirstBeyondLatin1(values.searchText);
  if (!beyond) return false;
  Tell(state, msg::SearchTextNotHeld(beyond->first, beyond->second), MessageIcon::Critical);
  return true;
}

}  // namespace

int16_t AccessOf(std::string_view accessText) {
  for (size_t i = 0; i < msg::AccessNames.size(); ++i)
    if (accessText == msg::AccessNames[i]) return AccessCodes[i];
  return essbase::AccessNone;
}

std::string AccessName(int16_t access) {
  for (size_t i = 0; i < msg::AccessNames.size(); ++i)
    if (access == AccessCodes[i]) return std::string(msg::AccessNames[i]);
  return std::to_string(access);
}

bool AskForChange(WindowState& state) {
  for (;;) {
    const bool changed = state.port.ShowChangeDialog(
        state.changeDialog, [&state](const ChangeDialogValues& v) { PreviewChange(state, v); });
    if (!changed) return false;
    // Back to the dialog, which still shows what was typed.
    if (!RefusedSearchText(state, state.changeDialog)) break;
  }
  return state.port.ShowMessage(msg::ChangeQuestion, msg::DefaultTitle, MessageIcon::Question,
                                MessageButtons::YesNo) == MessageAnswer::Yes;
}

void ChangeFilters(WindowState& state, bool allDatabases) {
  HoldStill hold(state);
  change::ChangeOutcome outcome;
  {
    WindowQuestions questions(state);
    // The filters the write pass will open are saved first, from the rows
    // read; a retry rewrites the same filters and saves nothing again.
    auto backUp = [&state](const change::RowStore& rows, std::string& reason) {
      const backup::BackupOutcome saved = BackupBeforeChange(state.session, rows, state.backups);
      reason = saved.reason;
      return saved.mayWrite();
    };
    outcome = change::ChangeEngine(state.session, questions)
                  .Run(ScopeOf(ReadSelection(state.tree, state.filters, allDatabases)),
                       RequestOf(state.changeDialog), state.filterRows, backUp);
  }
  ReportChange(state, outcome, allDatabases);
}

void PreviewChange(WindowState& state, const ChangeDialogValues& values) {
  if (RefusedSearchText(state, values)) return;
  const bool allDatabases = state.AllDatabasesMode();
  const change::ChangeRequest request = RequestOf(values);
  std::vector<change::FilterRowRecord> matches;
  change::ChangeOutcome outcome;
  {
    HoldStill hold(state);
    {
      WindowQuestions questions(state);
      outcome = change::ChangeEngine(state.session, questions)
                    .Preview(ScopeOf(ReadSelection(state.tree, state.filters, allDatabases)),
                             request, matches);
    }
    if (outcome.end != ChangeEnd::Read) return ReportChange(state, outcome, allDatabases);
  }
  ChangePreview preview;
  preview.rows.reserve(matches.size());
  const std::string after = AccessName(request.newAccess);
  for (const change::FilterRowRecord& row : matches)
    preview.rows.push_back({row.RowApplication, row.RowDatabase, row.RowFilter, row.RowText,
                            AccessName(row.RowAccess), after});
  preview.summary =
      msg::PreviewSummary(outcome.changedFilters, static_cast<int>(preview.rows.size()));
  state.port.ShowPreview(preview);
}

void ReportChange(WindowState& state, const change::ChangeOutcome& o, bool allDatabases) {
  switch (o.end) {
    case ChangeEnd::NoDatabase:
    case ChangeEnd::ActivationFailed:
      return Tell(state, WithFailure(msg::NoSuchDatabase, o.failure), MessageIcon::Critical);
    case ChangeEnd::FilterOpenFailed:
    case ChangeEnd::ListingFailed:
      return Tell(state, WithFailure(msg::ChangeReadFailed(o.status), o.failure),
                  MessageIcon::Critical);
    case ChangeEnd::LaterRowFailed:
      return Tell(state, WithFailure(msg::ChangeLaterRowFailed(), o.failure),
                  MessageIcon::Critical);
    case ChangeEnd::TooManyRows:
      return Tell(state, msg::ChangeTooManyRows(change::RowStore::MaxRows), MessageIcon::Critical);
    case ChangeEnd::TooManyApplications:
      return Tell(state, msg::ChangeTooManyApplications(change::MaxAppsToUnload),
                  MessageIcon::Critical);
    case ChangeEnd::ReadFailed:
      return Tell(state, msg::ChangeReadFailedUnexpectedly(o.description), MessageIcon::Critical);
    case ChangeEnd::BackupFailed:
      return Tell(state, msg::BackupFailed(o.description), MessageIcon::Critical);
    case ChangeEnd::NoDatabasesMarked:
      return Tell(state, msg::NoFiltersSelected, MessageIcon::Information, msg::ProductName);
    case ChangeEnd::NoRows:
      return Tell(state, allDatabases ? msg::NoFiltersToChange : msg::NoFiltersInDatabase,
                  MessageIcon::Information);
    case ChangeEnd::Changed:
      return Tell(state, msg::FiltersChanged(o.changedFilters), MessageIcon::Information);
    case ChangeEnd::Read:
    case ChangeEnd::Cancelled: return;
  }
}

}  // namespace desktop
