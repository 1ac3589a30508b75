#include "desktop/SelectionListCommands.h"

#include <cerrno>
#include <fstream>
#include <unordered_set>

#include "desktop/CommandTarget.h"
#include "desktop/FileDialogSetup.h"
#include "desktop/Messages.h"
#include "filterfile/SelectionList.h"

namespace desktop {

namespace {

std::optional<std::string> ChooseListFile(ToolkitPort& port, FileDialogOptions& cdForm, bool save) {
  PrepareTextFileDialog(cdForm, msg::SelectionDialogTitle, false);
  cdForm.FileName.clear();
  return ChooseFile(port, cdForm, save);
}

void Critical(ToolkitPort& port, const std::string& text) {
  port.ShowMessage(text, msg::DefaultTitle, MessageIcon::Critical, MessageButtons::OK);
}

}  // namespace

void ExportSelectedList(ToolkitPort& port, FileDialogOptions& cdForm, const NodeList& filters) {
  const std::optional<std::string> file = ChooseListFile(port, cdForm, true);
  if (!file) return;
  errno = 0;
  std::ofstream out(*file, std::ios::binary | std::ios::trunc);
  if (!out.is_open())
    return Critical(port, msg::SelectionFileNotWritten(*file, SystemReason(errno)));
  errno = 0;
  bool written = filterfile::WriteSelectionList(out, TickedNames(filters));
  out.close();
  written = written && !out.fail();
  if (!written) return Critical(port, msg::SelectionFileNotWritten(*file, SystemReason(errno)));
  port.ShowMessage(msg::SelectionsSaved, msg::ProductName, MessageIcon::Information,
                   MessageButtons::OK);
}

void ImportSelectedList(ToolkitPort& port, FileDialogOptions& cdForm, NodeList& filters) {
  const std::optional<std::string> file = ChooseListFile(port, cdForm, false);
  if (!file) return;
  // Opened, and read whole, before any tick changes: a file that fails
  // leaves the ticks as they were.
  errno = 0;
  std::ifstream in(*file, std::ios::binary);
  if (!in.is_open()) return Critical(port, msg::SelectionFileNotRead(*file, SystemReason(errno)));
  std::unordered_set<std::string> names;
  errno = 0;
  const filterfile::SelectionReadOutcome read =
      filterfile::ReadSelectionList(in, [&](std::string_view name) { names.emplace(name); });
  if (read == filterfile::SelectionReadOutcome::LineTooLong)
    return Critical(port, msg::SelectionFileNotRead(*file, msg::SelectionLineTooLong));
  if (read != filterfile::SelectionReadOutcome::Complete)
    return Critical(port, msg::SelectionFileNotRead(*file, SystemReason(errno)));
  for (int i = 1; i <= filters.Count(); ++i)
    filters.SetChecked(i, names.count(filters.Text(i)) != 0);
}

}  // namespace desktop
