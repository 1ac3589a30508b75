// Reading filters over REST: each filter's rows page by page, several
// filters at once, delivered in the order asked. A window bounds what is
// held: a filter is started only when fewer than ReadWindow filters are
// started and not yet taken by the receiver, so memory follows the largest
// filter, not the database.
#include <deque>

#include "essbase/Constants.h"
#include "essbase/rest/Paging.h"
#include "essbase/rest/RestServer.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/Rows.h"
#include "essbase/rest/Texts.h"
#include "essbase/rest/Traffic.h"
#include "essbase/rest/Url.h"

namespace essbase::rest {

namespace {

constexpr size_t ReadWindow = 16;

struct Job {
  size_t index = 0;
  enum class State { Waiting, InFlight, Ready, Failed } state = State::Waiting;
  Pages pages;
  std::vector<FilterRow> rows;
  Failure failure;
};

class Reader {
 public:
  Reader(RestServer& server, const Database& db, const std::vector<std::string>& names,
         FilterReceiver& receiver)
      : server_(server), db_(db), names_(names), receiver_(receiver), traffic_(server) {}

  Failure Run() {
    Start();
    for (;;) {
      while (!window_.empty() && window_.front().state == Job::State::Ready) {
        Filter filter;
        filter.name = names_[delivered_];
        filter.rows = std::move(window_.front().rows);
        window_.pop_front();
        ++delivered_;
        if (!receiver_.Receive(db_, filter)) return Stop({});
      }
      if (delivered_ == names_.size()) return {};
      if (window_.front().state == Job::State::Failed) return Stop(window_.front().failure);
      // What was taken made room in the window.
      Start();
      std::optional<Traffic::Event> e = traffic_.Next();
      if (e) {
        Handle(*e);
        continue;
      }
      // Nothing in flight, and nothing could be sent.
      return Stop(server_.Unsent(CallOf(delivered_)));
    }
  }

 private:
  Call CallOf(size_t index) const {
    return {Step::ReadFilter, names_[index], "GET filter rows", false};
  }

  Failure Stop(Failure f) {
    traffic_.CancelAll();
    return f;
  }

  void Send(Job& job) {
    http::Request request;
    request.url = job.pages.Url(RowsPath(db_.application, db_.database, names_[job.index]));
    traffic_.Send(job.index, CallOf(job.index), std::move(request));
    job.state = Job::State::InFlight;
  }

  void Fail(Job& job, Failure f) {
    f.rows = job.rows.size();
    job.failure = std::move(f);
    job.state = Job::State::Failed;
    job.rows.clear();
    if (!firstFailed_ || job.index < *firstFailed_) firstFailed_ = job.index;
  }

  // Jobs of the window waiting to send first, then new ones; nothing after
  // a failed one.
  void Start() {
    for (Job& job : window_) {
      if (!traffic_.Open()) return;
      if (firstFailed_ && job.index > *firstFailed_) break;
      if (job.state == Job::State::Waiting) Send(job);
    }
    while (!firstFailed_ && started_ < names_.size() && started_ - delivered_ < ReadWindow &&
           traffic_.Open()) {
      window_.emplace_back();
      Job& job = window_.back();
      job.index = started_++;
      if (const std::string fault = NameFault(names_[job.index]); !fault.empty())
        Fail(job,
             server_.judge().Own(CallOf(job.index), ESB_STS_BAD_NAME,
                                 "the filter name " + Quoted(names_[job.index]) + " " + fault));
      else
        Send(job);
    }
  }

  void Handle(Traffic::Event& e) {
    Job& job = window_[e.job - delivered_];
    switch (e.kind) {
      case Traffic::Event::Kind::Fail: Fail(job, std::move(e.failure)); return;
      case Traffic::Event::Kind::Repeat:
        job.rows.clear();
        job.pages.Restart();
        job.state = Job::State::Waiting;
        return;
      case Traffic::Event::Kind::Answer: break;
    }
    if (Failure f = server_.judge().Of(e.response, e.call)) return Fail(job, std::move(f));
    ListPage page;
    std::vector<WireRow> wire;
    std::string why;
    PageHash hash;
    if (ParseRowPage(e.response.body, page, wire, why)) {
      for (const WireRow& r : wire) {
        hash.Add(r.access);
        hash.Add(r.mbrSpec);
      }
      if (job.pages.Take(page, hash.value(), why)) {
        if (Failure f = TakeRows(job, wire)) return Fail(job, std::move(f));
        job.state = job.pages.done() ? Job::State::Ready : Job::State::Waiting;
        return;
      }
    }
    Fail(job, server_.judge().BadAnswer(e.call, why));
  }

  Failure TakeRows(Job& job, std::vector<WireRow>& wire) {
    for (WireRow& r : wire) {
      FilterRow row;
      int32_t status = 0;
      std::string why;
      if (!RowFromWire(r, job.rows.size() + 1, names_[job.index], row, status, why))
        return server_.judge().Own(CallOf(job.index), status, why);
      job.rows.push_back(std::move(row));
    }
    return {};
  }

  RestServer& server_;
  const Database& db_;
  const std::vector<std::string>& names_;
  FilterReceiver& receiver_;
  Traffic traffic_;
  std::deque<Job> window_;  // the jobs from delivered_ on
  size_t delivered_ = 0;
  size_t started_ = 0;
  std::optional<size_t> firstFailed_;
};

}  // namespace

Failure RestServer::ReadFilters(const Database& db, const std::vector<std::string>& names,
                                const ReadOptions& /*options*/, FilterReceiver& receiver) {
  if (names.empty()) return {};
  if (Failure f = Entry(Step::ReadFilter, names.front())) return f;
  return Reader(*this, db, names, receiver).Run();
}

Failure RestServer::ReadDatabase(const Database& db, const Wanted& wanted,
                                 const ReadOptions& options, FilterReceiver& receiver) {
  std::vector<std::string> names;
  if (Failure f = ListFilters(db, names)) return f;
  std::erase_if(names, [&](const std::string& n) { return wanted && !wanted(n); });
  return ReadFilters(db, names, options, receiver);
}

}  // namespace essbase::rest
