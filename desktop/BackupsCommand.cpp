#include "desktop/BackupsCommand.h"

#include <filesystem>

#include "backup/ListBackups.h"
#include "compare/backup/CompareBackup.h"
#include "desktop/CompareCommand.h"
#include "desktop/ComparisonReport.h"
#include "desktop/FileDialogSetup.h"
#include "desktop/HoldStill.h"
#include "desktop/Messages.h"
#include "desktop/RestoreCommand.h"

namespace desktop {

namespace {

BackupEntry EntryOf(const backup::ListedBackup& listed) {
  BackupEntry entry;
  const std::string file = std::filesystem::path(listed.path).filename().string();
  if (!listed.backup) {
    entry.cells = {{}, {}, {}, {}, {}, listed.problem, file};
    entry.readable = false;
    return entry;
  }
  const backup::BackupInfo& info = listed.backup->info;
  std::string databases;
  for (const backup::DatabaseRange& d : info.databases)
    databases += (databases.empty() ? "" : ", ") + d.application + "/" + d.database;
  const std::string filters = std::to_string(info.filters.size());
  entry.cells = {info.time, CommandWords(info.command), info.server, databases, filters, {}, file};
  return entry;
}

// The logic behind the window, over the window's state.
class Backups final : public BackupsHandler {
 public:
  explicit Backups(WindowState& state) : state_(state) { Read(); }

  std::string folder() const override { return state_.backups.folder; }
  const std::vector<BackupEntry>& backups() const override { return entries_; }

  ComparisonView WhatRestoreChanges(size_t index) override {
    ComparisonReport report(true);
    const backup::ListedBackup& listed = listed_.at(index);
    if (!listed.backup) return Told(report, msg::BackupCannotBeRead(listed.problem));
    essbase::Session& session = state_.session;
    const std::string& server = listed.backup->info.server;
    if (!backup::SameServer(server, session.conn().Server))
      return Told(report, msg::BackupNotOfThisServer(server));
    compare::CompareOutcome outcome;
    {
      HoldStill hold(state_);
      auto policed = session.Under(essbase::policy::WholeFilters(essbase::Policy::Login::Prompt));
      outcome =
          compare::CompareBackupWithServer(session.server(), *listed.backup, WindowRead(), report);
    }
    switch (outcome.end) {
      case compare::CompareEnd::Compared: break;
      case compare::CompareEnd::FileUnreadable:
        return Told(report, msg::CompareFileNotRead(listed.backup->recordsPath));
      case compare::CompareEnd::ServerFailure:
        return Told(report,
                    WithFailure(msg::CompareReadFailed(outcome.failure.status), outcome.failure));
      case compare::CompareEnd::SpillFailed:
        return Told(report, msg::CompareNoTemporaryFile(SystemReason(outcome.spillError)));
    }
    ComparisonView view =
        report.View(std::string(msg::BackupsTitle), msg::RestoreChangeSummary(CountsOf(outcome.tally)));
    view.unchanged = [this, index] { return SameOf(index); };
    return view;
  }

  // The filters a restore would leave as they are, compared once more.
  std::vector<ComparisonLine> SameOf(size_t index) {
    ComparisonReport same(true, true);
    const backup::ListedBackup& listed = listed_.at(index);
    if (!listed.backup) return same.TakeLines();
    HoldStill hold(state_);
    essbase::Session& session = state_.session;
    auto policed = session.Under(essbase::policy::WholeFilters(essbase::Policy::Login::Prompt));
    compare::CompareBackupWithServer(session.server(), *listed.backup, WindowRead(), same);
    return SameOnly(same.TakeLines());
  }

  void Restore(size_t index) override {
    RestoreBackupFile(state_, listed_.at(index).path);
    Read();
  }
  void OpenFolder() override { state_.port.OpenUrl("file://" + folder()); }
  void RestoreOther() override {
    RestoreFromBackup(state_);
    Read();
  }

 private:
  void Read() {
    listed_ = backup::ListBackups(state_.backups.folder);
    entries_.clear();
    for (const backup::ListedBackup& l : listed_) entries_.push_back(EntryOf(l));
  }
  // A comparison that did not come about, with the reason in its summary.
  static ComparisonView Told(ComparisonReport& report, std::string reason) {
    return report.View(std::string(msg::BackupsTitle), std::move(reason));
  }

  WindowState& state_;
  std::vector<backup::ListedBackup> listed_;
  std::vector<BackupEntry> entries_;
};

}  // namespace

void ShowBackupsWindow(WindowState& state) {
  Backups backups(state);
  state.port.ShowBackups(backups);
}

}  // namespace desktop
