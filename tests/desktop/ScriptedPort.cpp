#include "tests/desktop/ScriptedPort.h"

namespace desktop::testing {

const char* ControlName(Control control) {
  switch (control) {
    case Control::Window: return "Window";
    case Control::mnuExport: return "mnuExport";
    case Control::mnuImport: return "mnuImport";
    case Control::mnuDelete: return "mnuDelete";
    case Control::mnuChange: return "mnuChange";
    case Control::mnuRestore: return "mnuRestore";
    case Control::mnuCompare: return "mnuCompare";
    case Control::filters: return "filters";
    case Control::tree: return "tree";
    case Control::chkAll: return "chkAll";
    case Control::Label1: return "Label1";
    case Control::Label2: return "Label2";
  }
  return "?";
}

namespace {
const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None: return "None";
    case MessageIcon::Critical: return "Critical";
    case MessageIcon::Information: return "Information";
    case MessageIcon::Question: return "Question";
  }
  return "?";
}
}  // namespace

std::string ScriptedPort::LogText() const {
  std::string out;
  for (const auto& line : log) out += line + "\n";
  return out;
}

MessageAnswer ScriptedPort::ShowMessage(std::string_view text, std::string_view title,
                                        MessageIcon icon, MessageButtons buttons) {
  messages.push_back({std::string(text), std::string(title), icon, buttons});
  log.push_back("ShowMessage(" + std::string(IconName(icon)) + "," + std::string(title) + "," +
                std::string(text) + ")");
  MessageAnswer answer = MessageAnswer::OK;
  if (buttons == MessageButtons::YesNo) answer = MessageAnswer::Yes;
  if (buttons == MessageButtons::RetryCancel) answer = MessageAnswer::Retry;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  return answer;
}

void ScriptedPort::SetBusy(bool on) {
  busy = on;
  log.push_back(on ? "SetBusy(1)" : "SetBusy(0)");
}

void ScriptedPort::HoldInput(bool hold) {
  held = hold;
  log.push_back(hold ? "HoldInput(1)" : "HoldInput(0)");
}

bool ScriptedPort::ShowChangeDialog(ChangeDialogValues& values,
                                    const std::function<void(const ChangeDialogValues&)>& preview) {
  changeDialogShown.push_back(values);
  log.push_back("ShowChangeDialog(" + values.accessText + "," + values.searchText + ")");
  ChangeDialogScript step;
  if (!changeDialogScript.empty()) {
    step = changeDialogScript.front();
    changeDialogScript.pop_front();
  }
  if (step.accessText) values.accessText = *step.accessText;
  if (step.searchText) values.searchText = *step.searchText;
  for (int i = 0; i < step.previews; ++i) preview(values);
  return step.changed;
}

namespace {
FileDialogResult NextFileAnswer(std::deque<FileDialogResult>& answers) {
  if (answers.empty()) return {};
  FileDialogResult answer = answers.front();
  answers.pop_front();
  return answer;
}
}  // namespace

FileDialogResult ScriptedPort::ShowSave(const FileDialogOptions& options) {
  fileDialogs.push_back(options);
  log.push_back("ShowSave(" + options.DialogTitle + ")");
  return NextFileAnswer(fileAnswers);
}

FileDialogResult ScriptedPort::ShowOpen(const FileDialogOptions& options) {
  fileDialogs.push_back(options);
  log.push_back("ShowOpen(" + options.DialogTitle + ")");
  return NextFileAnswer(fileAnswers);
}

void ScriptedPort::ProcessEvents() {
  log.push_back("ProcessEvents()");
  if (onProcessEvents) onProcessEvents();
}
void ScriptedPort::ShowProgress(std::string_view text) {
  progress.emplace_back(text);
}
void ScriptedPort::ShowPreview(const ChangePreview& preview) {
  previews.push_back(preview);
  log.push_back("ShowPreview(" + preview.summary + ")");
}
void ScriptedPort::ShowComparison(const ComparisonView& view) {
  comparisons.push_back(view);
  log.push_back("ShowComparison(" + view.summary + ")");
}
void ScriptedPort::ShowBackups(BackupsHandler& handler) {
  backupsShown.push_back(handler.backups());
  log.push_back("ShowBackups(" + std::to_string(handler.backups().size()) + ")");
  if (backupsScript.empty()) return;
  auto step = std::move(backupsScript.front());
  backupsScript.pop_front();
  step(handler);
}
void ScriptedPort::ShowAbout(std::string_view backups) {
  aboutBackups = backups;
  log.push_back("ShowAbout()");
}
void ScriptedPort::OpenUrl(std::string_view address) {
  log.push_back("OpenUrl(" + std::string(address) + ")");
}

std::optional<std::string> ScriptedPort::HttpGet(std::string_view url) {
  log.push_back("HttpGet(" + std::string(url) + ")");
  if (httpBodies.empty()) return std::nullopt;
  auto body = httpBodies.front();
  httpBodies.pop_front();
  return body;
}

void ScriptedPort::PopupOtherMenu() {
  log.push_back("PopupOtherMenu()");
}

bool ScriptedPort::SetEnabled(Control control, bool enabled) {
  log.push_back(std::string("SetEnabled(") + ControlName(control) + "," + (enabled ? "1" : "0") +
                ")");
  view[control].enabled = enabled;
  return true;
}

bool ScriptedPort::SetVisible(Control control, bool visible) {
  log.push_back(std::string("SetVisible(") + ControlName(control) + "," + (visible ? "1" : "0") +
                ")");
  view[control].visible = visible;
  return true;
}

bool ScriptedPort::SetWidth(Control control, int twips) {
  log.push_back(std::string("SetWidth(") + ControlName(control) + "," + std::to_string(twips) +
                ")");
  if (twips < 0 || refuseWidth.count(control)) return false;
  view[control].width = twips;
  return true;
}

bool ScriptedPort::SetHeight(Control control, int twips) {
  log.push_back(std::string("SetHeight(") + ControlName(control) + "," + std::to_string(twips) +
                ")");
  if (twips < 0) return false;
  view[control].height = twips;
  return true;
}

bool ScriptedPort::SetLeft(Control control, int twips) {
  view[control].left = twips;
  return true;
}

bool ScriptedPort::SetTop(Control control, int twips) {
  view[control].top = twips;
  return true;
}

void ScriptedPort::SetCaption(Control control, std::string_view caption) {
  view[control].caption = std::string(caption);
}

}  // namespace desktop::testing
