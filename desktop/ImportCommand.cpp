#include "desktop/ImportCommand.h"

#include "desktop/BackupBeforeWrite.h"
#include "desktop/CommandTarget.h"
#include "desktop/FileDialogSetup.h"
#include "desktop/FilterList.h"
#include "desktop/HoldStill.h"
#include "desktop/ImportFilterFile.h"
#include "desktop/Messages.h"

namespace desktop {

void ImportFilters(WindowState& state) {
  ToolkitPort& port = state.port;
  // The target is never taken from the file: without a selected database
  // there is none.
  const std::optional<SelectedDatabase> target = TreeSelectedDatabase(state.tree);
  if (!target) {
    port.ShowMessage(msg::NoDatabaseSelected, msg::DefaultTitle, MessageIcon::Critical,
                     MessageButtons::OK);
    return;
  }
  // No name of its own: the dialog shows what its last use left.
  PrepareTextFileDialog(state.cdForm, msg::ImportDialogTitle, true);
  const std::optional<std::string> file = ChooseFile(port, state.cdForm, false);
  if (!file) return;

  ImportOutcome outcome;
  backup::BackupOutcome saved;
  {
    HoldStill hold(state);
    saved = BackupBeforeImport(state.session, *file, target->application, target->database,
                               state.backups);
    if (saved.mayWrite()) outcome = ImportFilterFile(state.session, *file, *target);
  }
  if (!saved.mayWrite()) {
    port.ShowMessage(msg::BackupFailed(saved.reason), msg::DefaultTitle, MessageIcon::Critical,
                     MessageButtons::OK);
    return;
  }
  if (!outcome.ok) {
    std::string text(msg::ImportFailed);
    if (outcome.passedOver > 0)
      text += msg::LinesPassedOver(outcome.passedOver, outcome.firstPassedOver);
    if (outcome.tooLongLine > 0) text += msg::ImportStoppedAtLongLine(outcome.tooLongLine);
    if (outcome.unknown > 0) text += msg::ImportMayHaveBeenWritten(outcome.unknown);
    if (outcome.notSent > 0) text += msg::ImportNotSent(outcome.notSent);
    text = WithFailure(text, outcome.failure);
    port.ShowMessage(text, msg::DefaultTitle, MessageIcon::Critical, MessageButtons::OK);
  }
  int32_t listed = 0;
  {
    HoldStill hold(state);
    listed = RefillFilterList(state, *target);
  }
  if (listed != 0 && outcome.imported == 0) {
    port.ShowMessage(msg::FiltersNotListed(listed), msg::DefaultTitle, MessageIcon::Critical,
                     MessageButtons::OK);
    port.SetCaption(Control::Window, msg::ImportListingCaption(listed));
  } else if (listed != 0) {
    port.ShowMessage(msg::ImportedBeforeListingFailed(listed, outcome.imported), msg::DefaultTitle,
                     MessageIcon::Critical, MessageButtons::OK);
    port.SetCaption(Control::Window,
                    msg::ImportedBeforeListingFailedCaption(listed, outcome.imported));
  }
}

}  // namespace desktop
