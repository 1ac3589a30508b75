// Writing and deleting over REST, several filters in flight. Create or
// replace follows from whether the filter exists, never from an error: the
// first write into a database lists its filters, and what the run's
// requests do keeps that knowledge current. A name whose last request got
// no answer may or may not exist: it is asked for (Get Filter) before its
// next request. Two requests of one filter never overlap, so a name written
// twice ends with its later definition; outcomes go out in the order asked.
#include <deque>
#include <map>
#include <set>

#include "essbase/Constants.h"
#include "essbase/rest/Listing.h"
#include "essbase/rest/RestServer.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/Rows.h"
#include "essbase/rest/Texts.h"
#include "essbase/rest/Traffic.h"
#include "essbase/rest/Url.h"

namespace essbase::rest {

namespace {

// Writes asked for and not yet told to the receiver, at most: what is held
// is a bounded number of filters, not the run.
constexpr size_t WriteWindow = 16;
constexpr uint64_t ListingJob = uint64_t{1} << 63;

// What the run knows of one database's filters.
struct Knowledge {
  enum class State { Unknown, Listing, Known, Failed } state = State::Unknown;
  uint64_t job = 0;
  std::set<std::string> names;      // the filters it holds, when Known
  std::set<std::string> untrusted;  // names whose last request got no answer
  Failure failure;                  // the listing's, when Failed
  std::optional<NameListing> listing;
  bool inFlight = false;
};

struct Job {
  uint64_t index = 0;
  bool write = true;
  Database db;
  std::string body;  // a write's, as sent
  WriteOutcome outcome;
  bool finished = false;
  bool inFlight = false;
  bool changing = false;        // what is in flight may change the server
  std::optional<bool> probed;   // what Get Filter said of its existence
  bool mayHaveChanged = false;  // an earlier request of it got no answer
};

class RestWrites final : public Writes {
 public:
  RestWrites(RestServer& server, WriteReceiver& receiver)
      : server_(server), receiver_(receiver), traffic_(server) {}

  void Write(const Database& db, Filter filter, bool lostRows) override {
    // Trailing blanks are not part of a name on a server, through the
    // client library as here.
    while (!filter.name.empty() && filter.name.back() == ' ') filter.name.pop_back();
    Job& job = Add(db, filter.name, true);
    if (lostRows) {
      // Rows lost on the way: the server keeps what it holds.
      job.finished = true;
    } else if (const std::string fault = NameFault(filter.name); !fault.empty()) {
      Refuse(job, ESB_STS_BAD_NAME, "the filter name " + Quoted(filter.name) + " " + fault);
    } else {
      std::vector<WireRow> wire;
      int32_t status = 0;
      std::string why;
      std::optional<std::string> body;
      if (!RowsToWire(filter, wire, status, why))
        Refuse(job, status, why);
      else if (!(body = FilterBody(filter.name, wire)))
        Refuse(job, ESB_STS_BAD_ROW, "the filter " + Quoted(filter.name) + " is not UTF-8");
      else
        job.body = std::move(*body);
    }
    Pump(WriteWindow - 1);
  }

  void Delete(const Database& db, std::string name) override {
    while (!name.empty() && name.back() == ' ') name.pop_back();
    Job& job = Add(db, name, false);
    if (const std::string fault = NameFault(name); !fault.empty())
      Refuse(job, ESB_STS_BAD_NAME, "the filter name " + Quoted(name) + " " + fault);
    Pump(WriteWindow - 1);
  }

  void Finish() override { Pump(0); }

 private:
  Job& Add(const Database& db, const std::string& name, bool write) {
    Job& job = jobs_.emplace_back();
    job.index = next_++;
    job.write = write;
    job.db = db;
    job.outcome.kind = write ? WriteOutcome::Kind::Write : WriteOutcome::Kind::Delete;
    job.outcome.db = db;
    job.outcome.name = name;
    job.outcome.failure.step = write ? Step::WriteFilter : Step::DeleteFilter;
    job.outcome.failure.filter = name;
    return job;
  }

  static Step StepOf(const Job& job) { return job.write ? Step::WriteFilter : Step::DeleteFilter; }
  Call CallOf(const Job& job, const char* name, bool changes) const {
    return {StepOf(job), job.outcome.name, name, changes};
  }

  void Refuse(Job& job, int32_t status, const std::string& why) {
    job.outcome.failure = server_.judge().Own(CallOf(job, "", false), status, why);
    job.finished = true;
  }

  void Done(Job& job, Failure f) {
    f.unknownOutcome = f.unknownOutcome || job.mayHaveChanged;
    job.outcome.done = !f.failed();
    if (f.failed())
      job.outcome.failure = std::move(f);
    else
      job.outcome.failure = {};
    job.finished = true;
  }

  Knowledge& KnowledgeOf(const Database& db) {
    Knowledge& k = dbs_[{db.application, db.database}];
    if (k.job == 0) k.job = ListingJob | dbs_.size();
    return k;
  }

  bool Busy(const Job& job) const {
    for (const Job& other : jobs_) {
      if (&other == &job) return false;
      if (!other.finished && other.db == job.db && other.outcome.name == job.outcome.name)
        return true;
    }
    return false;
  }

  void Pump(size_t keep) {
    for (;;) {
      Schedule();
      Deliver();
      if (jobs_.size() <= keep) return;
      if (std::optional<Traffic::Event> e = traffic_.Next()) {
        Handle(*e);
        continue;
      }
      // Nothing in flight and nothing could be sent: the front cannot wait.
      Job& front = jobs_.front();
      Failure f = server_.Unsent(CallOf(front, "", false));
      front.outcome.skipped = f.unreachable;
      Done(front, f);
    }
  }

  void Deliver() {
    while (!jobs_.empty() && jobs_.front().finished) {
      receiver_.Outcome(jobs_.front().outcome);
      jobs_.pop_front();
    }
  }

  void Schedule() {
    for (Job& job : jobs_) {
      if (job.finished || job.inFlight || Busy(job)) continue;
      if (Failure f = server_.Entry(StepOf(job), job.outcome.name)) {
        // Never sent: the server stopped answering before its turn.
        job.outcome.skipped = f.unreachable;
        Done(job, f);
        continue;
      }
      if (!traffic_.Open()) return;
      Knowledge& k = KnowledgeOf(job.db);
      // A database is not changed while its listing is read, page by page:
      // names would move between the pages' offsets.
      if (k.state == Knowledge::State::Listing && !k.inFlight && !Changing(job.db))
        SendListing(job, k);
      if (k.state == Knowledge::State::Listing) continue;
      if (job.write && k.state != Knowledge::State::Known) {
        if (k.state == Knowledge::State::Failed)
          Done(job, ListingFailure(job, k));
        else if (!Changing(job.db))
          SendListing(job, k);
        else
          k.state = Knowledge::State::Listing;
        continue;
      }
      if (k.untrusted.count(job.outcome.name) && !job.probed) {
        Send(job, CallOf(job, "GET filter", false), http::Method::Get,
             FilterPath(job.db.application, job.db.database, job.outcome.name));
        continue;
      }
      if (!job.write && job.probed == false) {
        Done(job, {});  // the server does not hold it
        continue;
      }
      SendMain(job, k);
    }
  }

  bool Changing(const Database& db) const {
    for (const Job& job : jobs_)
      if (job.changing && job.db == db) return true;
    return false;
  }

  void SendListing(const Job& job, Knowledge& k) {
    if (!k.listing) k.listing.emplace(FiltersPath(job.db.application, job.db.database));
    k.state = Knowledge::State::Listing;
    k.inFlight = true;
    traffic_.Send(k.job, {Step::WriteFilter, {}, "GET filters", false}, k.listing->Next());
  }

  Failure ListingFailure(const Job& job, const Knowledge& k) const {
    Failure f = k.failure;
    f.step = StepOf(job);
    f.filter = job.outcome.name;
    return f;
  }

  void SendMain(Job& job, const Knowledge& k) {
    const Database& d = job.db;
    const std::string& name = job.outcome.name;
    if (!job.write) {
      Send(job, CallOf(job, "DELETE filter", true), http::Method::Delete,
           FilterPath(d.application, d.database, name));
    } else if (job.probed ? *job.probed : k.names.count(name) > 0) {
      Send(job, CallOf(job, "PUT filter", true), http::Method::Put,
           FilterPath(d.application, d.database, name), job.body);
    } else {
      Send(job, CallOf(job, "POST filters", true), http::Method::Post,
           FiltersPath(d.application, d.database), job.body);
    }
  }

  void Send(Job& job, const Call& call, http::Method method, std::string path,
            const std::string& body = {}) {
    http::Request r;
    r.method = method;
    r.url = std::move(path);
    r.body = body;
    job.inFlight = true;
    job.changing = call.changes;
    traffic_.Send(job.index, call, std::move(r));
  }

  Job* Find(uint64_t index) {
    for (Job& job : jobs_)
      if (job.index == index) return &job;
    return nullptr;
  }

  void Handle(Traffic::Event& e) {
    if (e.job & ListingJob) return HandleListing(e);
    Job* job = Find(e.job);
    if (!job) return;
    job->inFlight = false;
    job->changing = false;
    Knowledge& k = KnowledgeOf(job->db);
    const std::string& name = job->outcome.name;
    if (e.kind == Traffic::Event::Kind::Repeat) {
      if (e.answerLost) {
        job->mayHaveChanged = true;
        k.untrusted.insert(name);
      }
      job->probed.reset();
      return;
    }
    if (e.kind == Traffic::Event::Kind::Fail) {
      if (e.failure.unknownOutcome) {
        job->mayHaveChanged = true;
        k.untrusted.insert(name);
      }
      return Done(*job, std::move(e.failure));
    }
    Failure f = server_.judge().Of(e.response, e.call);
    if (!e.call.changes) {
      // Get Filter: it exists, or the server says positively it does not.
      if (!f)
        job->probed = true;
      else if (f.status == ESB_STS_UNKNOWN_FILTER && e.response.status < 500)
        job->probed = false;
      else
        Done(*job, std::move(f));
      return;
    }
    if (f) {
      k.untrusted.insert(name);
      return Done(*job, std::move(f));
    }
    k.untrusted.erase(name);
    if (job->write)
      k.names.insert(name);
    else
      k.names.erase(name);
    job->mayHaveChanged = false;
    Done(*job, {});
  }

  void HandleListing(Traffic::Event& e) {
    Knowledge* k = nullptr;
    for (auto& [key, known] : dbs_)
      if (known.job == e.job) k = &known;
    if (!k) return;
    k->inFlight = false;
    Failure f;
    if (e.kind == Traffic::Event::Kind::Repeat) {
      k->listing->Restart();
      return;
    }
    if (e.kind == Traffic::Event::Kind::Fail) {
      f = std::move(e.failure);
    } else if (!(f = server_.judge().Of(e.response, e.call))) {
      int32_t status = 0;
      std::string why;
      switch (k->listing->Take(e.response, status, why)) {
        case NameListing::State::More: return;
        case NameListing::State::Done:
          k->names.clear();
          for (NameItem& item : k->listing->items) k->names.insert(std::move(item.name));
          k->listing.reset();
          k->state = Knowledge::State::Known;
          return;
        case NameListing::State::Failed:
          f = status == RestStatusBadAnswer ? server_.judge().BadAnswer(e.call, why)
                                            : server_.judge().Own(e.call, status, why);
          break;
      }
    }
    k->failure = std::move(f);
    k->listing.reset();
    k->state = Knowledge::State::Failed;
  }

  RestServer& server_;
  WriteReceiver& receiver_;
  Traffic traffic_;
  std::deque<Job> jobs_;
  uint64_t next_ = 0;
  std::map<std::pair<std::string, std::string>, Knowledge> dbs_;
};

}  // namespace

std::unique_ptr<Writes> RestServer::StartWrites(WriteReceiver& receiver,
                                                const WriteOptions& /*options*/) {
  return std::make_unique<RestWrites>(*this, receiver);
}

}  // namespace essbase::rest
