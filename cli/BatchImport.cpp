#include "cli/BatchImport.h"

#include <fstream>

#include "cli/Messages.h"
#include "cli/RunState.h"
#include "filterfile/FilterFileReader.h"
#include "filterfile/ImportWriter.h"
#include "platform/Path.h"

namespace cli {

namespace {

// The import's lines in the file's order. A server that stopped answering
// gives one line for all the filters it was not sent, not one each.
class ImportLog final : public filterfile::ImportReport {
 public:
  explicit ImportLog(RunState& state) : state_(state) {}

  void PassedOver(uint64_t line) override {
    // An unattended run pointed at a binary file must not fill the disk with its log.
    if (logged_ == LoggedPassedOverLines) return;
    ++logged_;
    state_.Log(std::string(msg::LinePassedOverStart) + std::to_string(line) +
               std::string(msg::LinePassedOverEnd));
  }
  void CallFailed(const essbase::WriteOutcome&, const essbase::Failure& failure) override {
    state_.Log(msg::ImportFailed);
    state_.LogFailure(failure);
  }
  void Ended(const essbase::WriteOutcome& o) override {
    if (o.kind != essbase::WriteOutcome::Kind::Write || o.done) return;
    if (o.skipped) {
      if (notSent_++ == 0) why_ = o.failure.detail;
      return;
    }
    const std::string_view end = o.failure.unknownOutcome ? msg::FilterMayBeWrittenEnd
                                                          : msg::FilterLeftUnchangedEnd;
    state_.Log(std::string(msg::FilterLeftUnchangedStart) + Text(o.name) + std::string(end));
  }

  uint64_t logged() const { return logged_; }
  // The one line for the filters never sent.
  void Finish() {
    if (notSent_ > 0) state_.Log(msg::FiltersNotSent(notSent_, Text(why_)));
  }

 private:
  RunState& state_;
  uint64_t logged_ = 0;
  uint64_t notSent_ = 0;
  std::string why_;
};

}  // namespace

bool BatchImport(RunState& state, const std::string& file, const std::string& application,
                 const std::string& database) {
  std::ifstream in(platform::PathOf(file), std::ios::binary);
  if (!in.is_open()) {
    state.Log(std::string(msg::ImportFileNotOpened) + file);
    return false;
  }
  // An ended login is no reason to log in again here: it fails like any
  // other status.
  auto policed = state.session.Under(essbase::policy::None());
  ImportLog log(state);
  filterfile::ImportWriter writer(state.server(), {application, database}, log);
  uint64_t stoppedAt = 0;
  const filterfile::ReadOutcome outcome = filterfile::ReadFilterFile(in, writer, &stoppedAt);
  writer.Finish();
  log.Finish();
  if (writer.passedOverCount() > log.logged())
    state.Log(std::to_string(writer.passedOverCount() - log.logged()) +
              std::string(msg::MoreLinesPassedOver));
  if (outcome == filterfile::ReadOutcome::ReadError) {
    state.Log(std::string(msg::ImportFileNotRead) + file);
    return false;
  }
  if (outcome == filterfile::ReadOutcome::LineTooLong) {
    state.Log(std::string(msg::ImportStopped) + msg::ImportLineTooLong(stoppedAt) + ": " + file);
    return false;
  }
  // A passed-over line is a failure of the run: some row of the file did not get in.
  return writer.ok();
}

}  // namespace cli
