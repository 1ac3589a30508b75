#include "desktop/FileDialogSetup.h"

#include <cstring>

#include "desktop/Messages.h"
#include "platform/ProgramFolder.h"

namespace desktop {

std::string ProgramFolder() {
  std::string folder = platform::BesideProgram("");
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

void PrepareTextFileDialog(FileDialogOptions& cdForm, std::string_view title, bool cancelError) {
  cdForm.DefaultExt = msg::TextFileExtension;
  cdForm.DialogTitle = title;
  cdForm.Filter = msg::TextFileTypes;
  cdForm.InitDir = ProgramFolder();
  cdForm.CancelError = cancelError;
}

std::optional<std::string> ChooseFile(ToolkitPort& port, FileDialogOptions& cdForm, bool save) {
  const FileDialogResult r = save ? port.ShowSave(cdForm) : port.ShowOpen(cdForm);
  if (r.outcome != FileDialogResult::Outcome::Chosen || r.path.empty()) return std::nullopt;
  cdForm.FileName = r.path;
  return r.path;
}

std::string SystemReason(int error) {
  return error == 0 ? std::string("unknown reason") : std::string(std::strerror(error));
}

}  // namespace desktop
