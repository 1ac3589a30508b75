#include "cli/BatchDiff.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "backup/BackupName.h"
#include "backup/LoadBackup.h"
#include "cli/Messages.h"
#include "compare/CompareFile.h"
#include "compare/backup/CompareBackup.h"
#include "platform/Path.h"

namespace cli {

namespace {

using compare::Verdict;

std::string Join(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts)
    out += (out.empty() ? "" : std::string(msg::DiffPartSeparator)) + p;
  return out;
}

// "rows added 1, active 0 -> 1, ...": the parts of a filter that differ.
std::string WhatDiffers(const compare::FilterDifference& d) {
  uint64_t added = 0, removed = 0, access = 0;
  for (const compare::RowEdit& e : d.rows) {
    if (e.change == compare::RowChange::Added) ++added;
    if (e.change == compare::RowChange::Removed) ++removed;
    if (e.change == compare::RowChange::AccessChanged) ++access;
  }
  std::vector<std::string> parts;
  auto count = [&](std::string_view what, uint64_t n) {
    if (n > 0) parts.push_back(std::string(what) + std::to_string(n));
  };
  count(msg::DiffRowsAdded, added);
  count(msg::DiffRowsRemoved, removed);
  count(msg::DiffRowsAccess, access);
  auto value = [&](std::string_view what, int16_t now, int16_t then) {
    if (now != then)
      parts.push_back(std::string(what) + std::to_string(now) + std::string(msg::DiffArrow) +
                      std::to_string(then));
  };
  value(msg::DiffActive, d.current->active, d.incoming->active);
  value(msg::DiffAccess, d.current->access, d.incoming->access);
  return Join(parts);
}

// One run-log line per filter that differs.
class DiffLog final : public compare::BackupDifferenceSink {
 public:
  explicit DiffLog(RunState& state) : state_(state) {}

  void Database(const std::string& application, const std::string& database) override {
    where_ = Text(application + "/" + database + "/");
  }
  void Filter(const compare::FilterDifference& d) override {
    std::string line = std::string(msg::DiffFilter) + where_ + Text(d.name);
    switch (d.verdict) {
      case Verdict::Same: return;
      case Verdict::Created:
        line += std::string(msg::DiffCreated) + std::to_string(d.incomingRows) +
                std::string(msg::DiffLineEnd);
        break;
      case Verdict::Changed:
        line += std::string(msg::DiffReplaced) + WhatDiffers(d) + std::string(msg::DiffLineEnd);
        break;
      case Verdict::OnlyCurrent: line += msg::DiffOnlyOnServer; break;
      case Verdict::Deleted: line += msg::DiffDeleted; break;
      case Verdict::Unreadable: line += msg::DiffUnreadable; break;
    }
    state_.Log(line);
  }

 private:
  RunState& state_;
  std::string where_;
};

compare::ServerRead Reading() {
  compare::ServerRead read;
  read.rowBuffer = essbase::CommandLineRowBuffer;
  return read;
}

// No description covers a comparison: a filter read is made again, whole,
// once after a new login with the run's credentials.
essbase::Policy Whole() {
  return essbase::policy::WholeFilters(essbase::Policy::Login::Quiet);
}

DiffResult Finish(RunState& state, const std::string& file, const compare::CompareOutcome& o) {
  if (o.passedOver > 0) {
    state.Log(std::string(msg::LinePassedOverStart) + std::to_string(o.firstPassedOver) +
              std::string(msg::LinePassedOverEnd));
    if (o.passedOver > 1)
      state.Log(std::to_string(o.passedOver - 1) + std::string(msg::MoreLinesPassedOver));
  }
  switch (o.end) {
    case compare::CompareEnd::Compared: break;
    case compare::CompareEnd::FileUnreadable:
      state.Log(std::string(msg::DiffFileNotRead) + file);
      return DiffResult::Failed;
    case compare::CompareEnd::ServerFailure:
      state.Log(msg::DiffServerFailed(o.failure.status));
      state.LogFailure(o.failure);
      return DiffResult::Failed;
    case compare::CompareEnd::SpillFailed:
      state.Log(std::string(msg::DiffNoTemporaryFile) + std::strerror(o.spillError));
      return DiffResult::Failed;
  }
  const compare::Tally& t = o.tally;
  state.Log(std::string(msg::DiffSummaryStart) + file + std::string(msg::DiffSummaryReplaced) +
            std::to_string(t.changed) + std::string(msg::DiffSummaryCreated) +
            std::to_string(t.created) + std::string(msg::DiffSummaryDeleted) +
            std::to_string(t.deleted) + std::string(msg::DiffSummaryOnlyOnServer) +
            std::to_string(t.onlyCurrent) + std::string(msg::DiffSummaryUnreadable) +
            std::to_string(t.unreadable) + std::string(msg::DiffSummarySame) +
            std::to_string(t.same));
  // As for an import, a line that is no row record fails the run.
  if (o.passedOver > 0) return DiffResult::Failed;
  return t.differs() ? DiffResult::Differ : DiffResult::Same;
}

DiffResult DiffBackup(RunState& state, const BatchArguments& args) {
  std::string reason;
  const std::optional<backup::LoadedBackup> loaded = backup::LoadBackup(args.file, reason);
  if (!loaded) {
    state.Log(std::string(msg::BackupNotCompared) + args.file + ": " + Text(reason));
    return DiffResult::Failed;
  }
  // A restore refuses another server's backup: it would change nothing here.
  if (!backup::SameServer(loaded->info.server, args.server)) {
    state.Log(std::string(msg::BackupOfOtherServer) + Text(loaded->info.server) +
              std::string(msg::DiffOtherServerEnd));
    return DiffResult::Failed;
  }
  DiffLog log(state);
  auto policed = state.session.Under(Whole());
  return Finish(state, args.file,
                compare::CompareBackupWithServer(state.server(), *loaded, Reading(), log));
}

}  // namespace

bool NamesBackup(const std::string& file) {
  if (file.ends_with(backup::InfoExtension)) return true;
  std::error_code ec;
  return file.ends_with(backup::RecordsExtension) &&
         std::filesystem::is_regular_file(
             platform::PathOf(backup::StemOf(file) + std::string(backup::InfoExtension)), ec);
}

DiffResult BatchDiff(RunState& state, const BatchArguments& args) {
  if (NamesBackup(args.file)) return DiffBackup(state, args);
  std::ifstream in(platform::PathOf(args.file), std::ios::binary);
  if (!in.is_open()) {
    state.Log(std::string(msg::DiffFileNotOpened) + args.file);
    return DiffResult::Failed;
  }
  DiffLog log(state);
  log.Database(args.application, args.database);
  auto policed = state.session.Under(Whole());
  return Finish(state, args.file,
                compare::CompareFileWithDatabase(state.server(), in,
                                                 {args.application, args.database}, Reading(), log));
}

}  // namespace cli
