#include "filterfile/ImportWriter.h"

namespace filterfile {

using essbase::WriteOutcome;

ImportWriter::ImportWriter(essbase::Server& server, essbase::Database target,
                           ImportReport& report, const essbase::WriteOptions& options)
    : target_(std::move(target)), report_(report), writes_(server.StartWrites(*this, options)) {}

void ImportWriter::OpenFilter(std::string_view name) {
  open_ = essbase::Filter{std::string(name), essbase::FilterActive, essbase::FilterAccess, {}};
  isOpen_ = true;
  lost_ = false;
  events_.clear();
}

void ImportWriter::AddRow(std::string_view text, int16_t access) {
  open_.rows.push_back({access, std::string(text)});
}

void ImportWriter::CloseFilter() {
  if (!isOpen_) {
    endedEmpty_ = true;
    return;
  }
  isOpen_ = false;
  wrote_ = true;
  // Before the write: a backend that writes at once reports at once.
  pending_.push_back(std::move(events_));
  events_.clear();
  writes_->Write(target_, std::move(open_), lost_);
}

void ImportWriter::PassedOver(uint64_t lineNumber) {
  if (passedOver_++ == 0) firstPassedOver_ = lineNumber;
  if (isOpen_)
    events_.emplace_back(open_.rows.size(), lineNumber);
  else
    report_.PassedOver(lineNumber);
}

void ImportWriter::RowLost() {
  if (isOpen_) lost_ = true;
}

void ImportWriter::Finish() {
  // A reading that stopped before the end of a file that opened no filter
  // sends nothing, not even the closing call of an empty file.
  if (wrote_ || endedEmpty_) writes_->Finish();
}

void ImportWriter::Fail(const WriteOutcome& outcome, const essbase::Failure& failure) {
  serverOk_ = false;
  if (!firstFailure_) firstFailure_ = failure;
  report_.CallFailed(outcome, failure);
}

// The lines of a filter in the order the reading met them: a passed-over
// line after p rows came before the call of row p; the opening call before
// every line, the closing call after all.
void ImportWriter::Report(const WriteOutcome& o, const std::vector<Event>& events) {
  size_t next = 0;
  const auto linesUpTo = [&](int64_t place) {
    for (; next < events.size() && static_cast<int64_t>(events[next].first) <= place; ++next)
      report_.PassedOver(events[next].second);
  };
  if (!o.failedCalls.empty()) {
    for (const essbase::FailedCall& call : o.failedCalls) {
      linesUpTo(call.place);
      essbase::Failure f = o.failure;
      f.status = call.status;
      f.call = call.place < 0 ? "EsbSetFilter" : "EsbSetFilterRow";
      Fail(o, f);
    }
    linesUpTo(INT64_MAX);
  } else {
    linesUpTo(INT64_MAX);
    if (o.failure && !o.skipped) Fail(o, o.failure);
  }
}

void ImportWriter::Outcome(WriteOutcome& o) {
  if (o.kind == WriteOutcome::Kind::Close) {
    Report(o, {});
    report_.Ended(o);
    return;
  }
  std::vector<Event> events;
  if (!pending_.empty()) {
    events = std::move(pending_.front());
    pending_.pop_front();
  }
  Report(o, events);
  if (o.done)
    ++committed_;
  else if (o.skipped)
    ++skipped_;
  else if (o.failure.unknownOutcome)
    ++unknown_;
  else
    ++leftUnchanged_;
  if (o.skipped && !firstFailure_) firstFailure_ = o.failure;
  report_.Ended(o);
}

}  // namespace filterfile
