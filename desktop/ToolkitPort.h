#pragma once
// Everything the desktop logic needs of the window toolkit. The logic reaches
// the screen only through this port; the Qt view implements it and tests use
// a scripted one.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace desktop {

enum class MessageIcon { None, Critical, Information, Question };
enum class MessageButtons { OK, YesNo, RetryCancel };
enum class MessageAnswer { OK, Yes, No, Retry, Cancel };

// Controls whose state the logic sets.
enum class Control {
  Window,  // the main window (caption)
  mnuExport,
  mnuImport,
  mnuDelete,
  mnuChange,
  mnuRestore,
  mnuCompare,
  filters,
  tree,
  chkAll,
  Label1,
  Label2,
};

// The properties of the common file dialog cdForm.
struct FileDialogOptions {
  std::string DefaultExt;
  std::string DialogTitle;
  std::string Filter;  // "Text (*.txt)|*.txt|All Files (*.*)|*.*" form
  std::string InitDir;
  std::string FileName;
  bool CancelError = false;
};

// What the Change dialog edits. The logic keeps it between showings, so the
// next showing presents the previous values; "Read" on first use.
struct ChangeDialogValues {
  std::string accessText = "Read";
  std::string searchText;  // as typed, any character
};

struct FileDialogResult {
  enum class Outcome { Chosen, Cancelled, Failed };
  Outcome outcome = Outcome::Cancelled;
  std::string path;  // the chosen path; empty unless Chosen
};

// What a change would do, as its Preview lists it: every matching row.
struct PreviewRow {
  std::string application;
  std::string database;
  std::string filter;
  std::string text;
  std::string accessNow;
  std::string accessAfter;
};

struct ChangePreview {
  std::vector<PreviewRow> rows;
  std::string summary;  // the count the change would report
};

// What a comparison window lists, ready to show: a line per difference of
// a row or of a filter's values, and one per filter that is the same (which
// the window can hide).
struct ComparisonLine {
  std::vector<std::string> cells;  // one per column
  bool differs = true;
};

struct ComparisonView {
  std::string title;
  std::string summary;  // the counts, or why nothing could be compared
  std::vector<std::string> columns;
  // The differences. A comparison of a large database holds no line per
  // filter that is the same: those come on demand, by comparing again.
  std::vector<ComparisonLine> lines;
  std::function<std::vector<ComparisonLine>()> unchanged;
};

// One backup as the Backups window lists it.
struct BackupEntry {
  std::vector<std::string> cells;  // one per column of msg::BackupsColumns
  bool readable = true;            // one that is not can be neither compared nor restored
};

// The logic behind the Backups window; the window calls it as the user acts.
class BackupsHandler {
 public:
  virtual ~BackupsHandler() = default;
  virtual std::string folder() const = 0;
  // Newest first; read again after a restore, which leaves a backup of its own.
  virtual const std::vector<BackupEntry>& backups() const = 0;
  // What restoring backups()[index] would change on the server now.
  virtual ComparisonView WhatRestoreChanges(size_t index) = 0;
  // Asks, then restores backups()[index], telling the outcome.
  virtual void Restore(size_t index) = 0;
  // Shows the folder in the desktop's file manager.
  virtual void OpenFolder() = 0;
  // Restores a backup chosen with the file dialog (one kept elsewhere).
  virtual void RestoreOther() = 0;
};

class ToolkitPort {
 public:
  virtual ~ToolkitPort() = default;

  // Modal message box; returns the button the user chose (OK for an OK box).
  virtual MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                    MessageButtons buttons) = 0;
  // Application-wide pointer: true the hourglass, false the normal pointer.
  virtual void SetBusy(bool busy) = 0;
  // While held, the window passes no user input on to the logic (menus,
  // clicks, keys, selection), though it still repaints when a command
  // yields to events. Held and released by HoldStill only.
  virtual void HoldInput(bool hold) = 0;

  virtual FileDialogResult ShowSave(const FileDialogOptions& options) = 0;
  virtual FileDialogResult ShowOpen(const FileDialogOptions& options) = 0;

  // Lets the window handle pending events during a long command.
  virtual void ProcessEvents() = 0;

  // Shows the Change dialog modally with `values` and leaves the user's
  // edits in it; true when Continue ended the showing (Changed), false for
  // Cancel or closing. While the dialog is shown, its Preview button calls
  // `preview` with the values on screen; the dialog stays open.
  virtual bool ShowChangeDialog(ChangeDialogValues& values,
                                const std::function<void(const ChangeDialogValues&)>& preview) = 0;

  // Where a long command is, shown in the main window without letting it
  // take input; empty text clears it.
  virtual void ShowProgress(std::string_view text) = 0;
  // Modal, resizable window over the current dialog listing what a change
  // would do; returns when the user closes it.
  virtual void ShowPreview(const ChangePreview& preview) = 0;

  // Modal, resizable window listing a comparison; writes nothing, returns
  // when the user closes it.
  virtual void ShowComparison(const ComparisonView& view) = 0;
  // The modal Backups window over `handler`; returns when the user closes it.
  virtual void ShowBackups(BackupsHandler& handler) = 0;

  // Modal About window over the main window; `backups` says where the
  // backups are and how long they are kept.
  virtual void ShowAbout(std::string_view backups) = 0;
  // Hands an address to the user's web browser; the result is not needed.
  virtual void OpenUrl(std::string_view address) = 0;
  // One blocking HTTP GET: the whole body, or nothing when no text came back
  // at all (no connection, time-out).
  virtual std::optional<std::string> HttpGet(std::string_view url) = 0;
  // Opens the menu mnuOther as a context menu at the pointer.
  virtual void PopupOtherMenu() = 0;

  // View state of named controls. Sizes and positions are in twips; a setter
  // returns false when the control refuses the value (the logic then keeps
  // the old one). The logic never passes a negative size.
  virtual bool SetEnabled(Control control, bool enabled) = 0;
  virtual bool SetVisible(Control control, bool visible) = 0;
  virtual bool SetWidth(Control control, int twips) = 0;
  virtual bool SetHeight(Control control, int twips) = 0;
  virtual bool SetLeft(Control control, int twips) = 0;
  virtual bool SetTop(Control control, int twips) = 0;
  virtual void SetCaption(Control control, std::string_view caption) = 0;
};

}  // namespace desktop
