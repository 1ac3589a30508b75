#pragma once
// A toolkit port for tests: records every call as one line of text, keeps the
// view state the logic set, and answers message boxes and HTTP requests from
// a script.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "desktop/ToolkitPort.h"

namespace desktop::testing {

struct ShownMessage {
  std::string text;
  std::string title;
  MessageIcon icon;
  MessageButtons buttons;
};

// What the user does in one showing of the Change dialog: edits (unset
// fields keep what the dialog showed), Preview presses, then Continue or not.
struct ChangeDialogScript {
  std::optional<std::string> accessText;
  std::optional<std::string> searchText;
  int previews = 0;
  bool changed = true;
};

struct ControlView {
  bool enabled = true;
  bool visible = true;
  int width = 0, height = 0, left = 0, top = 0;
  std::string caption;
};

const char* ControlName(Control control);

class ScriptedPort : public ToolkitPort {
 public:
  // Script.
  std::deque<MessageAnswer> answers;                  // default: OK / Yes
  std::deque<std::optional<std::string>> httpBodies;  // default: no text
  std::set<Control> refuseWidth;                      // controls that refuse any width
  std::deque<FileDialogResult> fileAnswers;           // default: Cancelled
  std::deque<ChangeDialogScript> changeDialogScript;  // default: Continue, nothing edited
  // What the user does in each showing of the Backups window, in order (it
  // closes after); none queued: closed at once.
  std::deque<std::function<void(BackupsHandler&)>> backupsScript;
  // Runs inside ProcessEvents, as events the window would handle then.
  std::function<void()> onProcessEvents;

  // Record.
  std::vector<std::string> log;
  std::vector<ShownMessage> messages;
  std::map<Control, ControlView> view;
  bool busy = false;
  bool held = false;
  std::vector<FileDialogOptions> fileDialogs;         // options of every showing
  std::vector<ChangeDialogValues> changeDialogShown;  // values each showing presented
  std::string aboutBackups;                           // the About window's backups text
  std::vector<std::string> progress;                  // every progress text shown
  std::vector<ChangePreview> previews;                // every preview shown
  std::string LogText() const;                        // one call per line
  // Every comparison window shown, and the list each Backups window opened with.
  std::vector<ComparisonView> comparisons;
  std::vector<std::vector<BackupEntry>> backupsShown;
  void ClearLog() {
    log.clear();
    messages.clear();
  }

  MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                            MessageButtons buttons) override;
  void SetBusy(bool on) override;
  void HoldInput(bool hold) override;
  bool ShowChangeDialog(ChangeDialogValues& values,
                        const std::function<void(const ChangeDialogValues&)>& preview) override;
  FileDialogResult ShowSave(const FileDialogOptions& options) override;
  FileDialogResult ShowOpen(const FileDialogOptions& options) override;
  void ProcessEvents() override;
  void ShowProgress(std::string_view text) override;
  void ShowPreview(const ChangePreview& preview) override;
  void ShowComparison(const ComparisonView& view) override;
  void ShowBackups(BackupsHandler& handler) override;
  void ShowAbout(std::string_view backups) override;
  void OpenUrl(std::string_view address) override;
  std::optional<std::string> HttpGet(std::string_view url) override;
  void PopupOtherMenu() override;
  bool SetEnabled(Control control, bool enabled) override;
  bool SetVisible(Control control, bool visible) override;
  bool SetWidth(Control control, int twips) override;
  bool SetHeight(Control control, int twips) override;
  bool SetLeft(Control control, int twips) override;
  bool SetTop(Control control, int twips) override;
  void SetCaption(Control control, std::string_view caption) override;
};

}  // namespace desktop::testing
