#include "desktop/CompareCommand.h"

#include <cerrno>
#include <fstream>

#include "compare/CompareFile.h"
#include "desktop/CommandTarget.h"
#include "desktop/ComparisonReport.h"
#include "desktop/FileDialogSetup.h"
#include "desktop/HoldStill.h"
#include "desktop/Messages.h"

namespace desktop {

std::vector<ComparisonLine> SameOnly(std::vector<ComparisonLine> lines) {
  std::erase_if(lines, [](const ComparisonLine& l) { return l.differs; });
  return lines;
}

compare::ServerRead WindowRead() {
  compare::ServerRead read;
  read.rowBuffer = essbase::DesktopRowBuffer;
  return read;
}

void CompareWithFile(WindowState& state) {
  ToolkitPort& port = state.port;
  auto tell = [&port](const std::string& text) {
    port.ShowMessage(text, msg::DefaultTitle, MessageIcon::Critical, MessageButtons::OK);
  };
  const std::optional<SelectedDatabase> target = TreeSelectedDatabase(state.tree);
  if (!target) return tell(std::string(msg::NoDatabaseSelected));
  PrepareTextFileDialog(state.cdForm, msg::CompareDialogTitle, true);
  const std::optional<std::string> file = ChooseFile(port, state.cdForm, false);
  if (!file) return;
  std::ifstream in(*file, std::ios::binary);
  if (!in.is_open()) return tell(msg::CompareFileNotOpened(*file, SystemReason(errno)));

  ComparisonReport report(false);
  compare::CompareOutcome outcome;
  {
    HoldStill hold(state);
    // No description covers it: a filter read is made again, whole, after a
    // new login.
    auto policed =
        state.session.Under(essbase::policy::WholeFilters(essbase::Policy::Login::Prompt));
    outcome = compare::CompareFileWithDatabase(
        state.session.server(), in, {target->application, target->database}, WindowRead(), report);
  }
  switch (outcome.end) {
    case compare::CompareEnd::Compared: break;
    case compare::CompareEnd::FileUnreadable: return tell(msg::CompareFileNotRead(*file));
    case compare::CompareEnd::ServerFailure:
      return tell(WithFailure(msg::CompareReadFailed(outcome.failure.status), outcome.failure));
    case compare::CompareEnd::SpillFailed:
      return tell(msg::CompareNoTemporaryFile(SystemReason(outcome.spillError)));
  }
  std::string summary = msg::CompareSummary(target->application + "/" + target->database, *file,
                                            CountsOf(outcome.tally));
  if (outcome.passedOver > 0)
    summary += msg::LinesPassedOver(outcome.passedOver, outcome.firstPassedOver);
  ComparisonView view = report.View(std::string(msg::CompareDialogTitle), std::move(summary));
  // The filters that are the same, when the user asks to see them: the
  // file and the database are compared once more.
  view.unchanged = [&state, path = *file, db = *target] {
    std::ifstream again(path, std::ios::binary);
    ComparisonReport same(false, true);
    if (!again.is_open()) return same.TakeLines();
    HoldStill hold(state);
    auto policed =
        state.session.Under(essbase::policy::WholeFilters(essbase::Policy::Login::Prompt));
    compare::CompareFileWithDatabase(state.session.server(), again, {db.application, db.database},
                                     WindowRead(), same);
    return SameOnly(same.TakeLines());
  };
  port.ShowComparison(view);
}

}  // namespace desktop
