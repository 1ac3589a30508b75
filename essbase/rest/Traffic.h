#pragma once
// The requests of one run of the backend (a listing, a read of filters, a
// run of writes), at most MaxInFlight at once, and what the run does when
// the server's answers stop making sense for its login:
//   - A 401 means the session ended. Nothing more is sent; once the requests
//     in flight are in, the command's LoginAgain is asked once per step kind
//     (not per request), and on a new login every request it stopped is
//     repeated once. A second 401 of a repeated request fails it.
//   - A request with no answer (timeout, refused, broken connection) stops
//     the sending too; where the command logs in again, one new login is
//     tried for the run and the stopped requests are repeated once;
//     otherwise, or when it fails, the server is unreachable for the
//     backend until its next login, and nothing more is sent.
// Jobs own their requests' meaning: Traffic hands each answer back to its
// job, or tells it to repeat its step, or that it failed.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "essbase/rest/Judge.h"
#include "essbase/rest/http/HttpClient.h"

namespace essbase::rest {

class RestServer;

class Traffic {
 public:
  explicit Traffic(RestServer& server);
  ~Traffic();
  Traffic(const Traffic&) = delete;
  Traffic& operator=(const Traffic&) = delete;

  // Whether a request may be sent now.
  bool Open() const;
  // `request.url` is a path below the API's base.
  void Send(uint64_t job, const Call& call, http::Request request);
  size_t InFlight() const;

  struct Event {
    enum class Kind { Answer, Repeat, Fail };
    Kind kind = Kind::Answer;
    uint64_t job = 0;
    Call call;
    http::Response response;  // Answer: whatever its status, but 401
    Failure failure;          // Fail
    // Repeat after an answer that never came: the step may have been done.
    bool answerLost = false;
  };
  // The next event; nullopt when nothing is in flight or held.
  std::optional<Event> Next();
  // Drops everything in flight and held.
  void CancelAll();

 private:
  struct Held {
    uint64_t job;
    Call call;
    http::Response response;
    bool noAnswer;
  };
  void Resolve();
  void Fail(const Held& h);

  RestServer& server_;
  std::unique_ptr<http::Channel> channel_;
  std::map<uint64_t, std::pair<uint64_t, Call>> sent_;  // tag: job, call
  uint64_t nextTag_ = 1;
  std::vector<Held> held_;
  std::deque<Event> ready_;
  std::set<uint64_t> repeatedAfter401_, repeatedAfterSilence_;
  std::set<Step> asked_;  // steps LoginAgain was asked for in this run
  bool triedLogin_ = false;
};

}  // namespace essbase::rest
