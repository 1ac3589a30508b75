#pragma once
// The text-file dialogs of the window: they share the one cdForm, so a
// property a command does not set keeps what the last showing left in it.
#include <optional>
#include <string>
#include <string_view>

#include "desktop/ToolkitPort.h"

namespace desktop {

// The folder that holds the running program, without a trailing slash.
std::string ProgramFolder();

// Default extension ".txt", the text and all-files types, the program's
// folder and `title`. FileName is left as it is.
void PrepareTextFileDialog(FileDialogOptions& cdForm, std::string_view title, bool cancelError);

// Shows the dialog; the chosen path, also kept in cdForm.FileName, or
// nothing when the user cancelled, the dialog failed or no name came back.
std::optional<std::string> ChooseFile(ToolkitPort& port, FileDialogOptions& cdForm, bool save);

// The system's words for an errno value, for messages that name a file.
std::string SystemReason(int error);

}  // namespace desktop
