#pragma once
// Change Access: the Change dialog and its question, a change run in either
// mode with the user's answers, and its outcome in the window's messages.
#include <cstdint>
#include <string>
#include <string_view>

#include "desktop/WindowState.h"
#include "desktop/change/ChangeOutcome.h"

namespace desktop {

// mnuChange: the Change dialog (its Preview button previews the values on
// screen), then the question. True when the user asked for a run.
bool AskForChange(WindowState& state);
// One run in the mode given, with the Change dialog's values, holding the
// window still until it ends.
void ChangeFilters(WindowState& state, bool allDatabases);
// The read pass of a run in chkAll's mode with these values, shown in the
// preview window, or the message the run would have ended with.
void PreviewChange(WindowState& state, const ChangeDialogValues& values);

// cboAccess text to an access code, compared exactly; any other text None.
int16_t AccessOf(std::string_view accessText);
// An access code as the user knows it: its name, or the number.
std::string AccessName(int16_t access);
// What a run that ended so tells the user.
void ReportChange(WindowState& state, const change::ChangeOutcome& outcome, bool allDatabases);

}  // namespace desktop
