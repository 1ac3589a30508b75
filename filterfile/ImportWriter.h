#pragma once
// Turns the filter definitions of a file (FilterFileReader) into whole-filter
// writes into one target database, whatever the file's own first two fields
// say, and reports what happened in the file's order: a passed-over line, a
// call that failed, a filter's end, each where the reading met it, also when
// the server answers several writes at once.
//
// A filter that lost a row on its way (a passed-over line of its own, a file
// cut short) must not replace what the server holds: it is written with
// lostRows, which the backend never commits.
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "essbase/Server.h"
#include "filterfile/FilterFileReader.h"

namespace filterfile {

class ImportReport {
 public:
  virtual ~ImportReport() = default;
  // A line that is no row record, where the reading met it.
  virtual void PassedOver(uint64_t /*lineNumber*/) {}
  // One call that failed for good (the client library's path: each failed
  // call; over REST the filter's one request).
  virtual void CallFailed(const essbase::WriteOutcome& /*outcome*/,
                          const essbase::Failure& /*failure*/) {}
  // A filter's outcome, after its lines; also the closing call of a file
  // without records (Kind::Close).
  virtual void Ended(const essbase::WriteOutcome& /*outcome*/) {}
};

class ImportWriter final : public FilterSink, public essbase::WriteReceiver {
 public:
  ImportWriter(essbase::Server& server, essbase::Database target, ImportReport& report,
               const essbase::WriteOptions& options = {true, true});

  void OpenFilter(std::string_view name) override;
  void AddRow(std::string_view text, int16_t access) override;
  void CloseFilter() override;
  void PassedOver(uint64_t lineNumber) override;
  void RowLost() override;
  void Outcome(essbase::WriteOutcome& outcome) override;

  // After the reading: every outcome has been reported when it returns.
  void Finish();

  uint64_t passedOverCount() const { return passedOver_; }
  uint64_t firstPassedOver() const { return firstPassedOver_; }
  // Filters the server now holds as the file defines them.
  uint64_t committed() const { return committed_; }
  // Filters left as they were (a failed call, lost rows).
  uint64_t leftUnchanged() const { return leftUnchanged_; }
  // Filters whose write got no answer: the server may hold them.
  uint64_t unknown() const { return unknown_; }
  // Filters never sent: the server stopped answering.
  uint64_t skipped() const { return skipped_; }
  // True while no call failed.
  bool serverOk() const { return serverOk_; }
  // The first failure with the server's or the client's words.
  const essbase::Failure& firstFailure() const { return firstFailure_; }
  // Every filter of the file was defined whole and no line was passed over.
  bool ok() const {
    return serverOk_ && passedOver_ == 0 && leftUnchanged_ == 0 && unknown_ == 0 && skipped_ == 0;
  }

 private:
  // A passed-over line inside a filter: after how many of its rows.
  using Event = std::pair<uint64_t, uint64_t>;
  void Report(const essbase::WriteOutcome& outcome, const std::vector<Event>& events);
  void Fail(const essbase::WriteOutcome& outcome, const essbase::Failure& failure);

  essbase::Database target_;
  ImportReport& report_;
  std::unique_ptr<essbase::Writes> writes_;
  essbase::Filter open_;
  bool isOpen_ = false;
  bool lost_ = false;
  bool wrote_ = false;
  // The reader closed a file that opened no filter (it does not when the
  // reading stopped early).
  bool endedEmpty_ = false;
  std::vector<Event> events_;
  // The passed-over lines of each filter written whose outcome is awaited.
  std::deque<std::vector<Event>> pending_;
  uint64_t passedOver_ = 0;
  uint64_t firstPassedOver_ = 0;
  uint64_t committed_ = 0;
  uint64_t leftUnchanged_ = 0;
  uint64_t unknown_ = 0;
  uint64_t skipped_ = 0;
  bool serverOk_ = true;
  essbase::Failure firstFailure_;
};

}  // namespace filterfile
