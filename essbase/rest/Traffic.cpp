#include "essbase/rest/Traffic.h"

#include "essbase/rest/RestServer.h"
#include "essbase/rest/http/HttpSettings.h"

namespace essbase::rest {

Traffic::Traffic(RestServer& server) : server_(server), channel_(server.http().OpenChannel()) {}

Traffic::~Traffic() {
  CancelAll();
}

bool Traffic::Open() const {
  return server_.Entry(Step::Start).status == 0 && held_.empty() &&
         channel_->InFlight() < http::MaxInFlight;
}

size_t Traffic::InFlight() const {
  return channel_->InFlight();
}

void Traffic::Send(uint64_t job, const Call& call, http::Request request) {
  request.url = server_.base() + request.url;
  request.basic = server_.basicEach();
  const uint64_t tag = nextTag_++;
  sent_.emplace(tag, std::make_pair(job, call));
  channel_->Start(tag, std::move(request));
}

void Traffic::CancelAll() {
  channel_->CancelAll();
  sent_.clear();
  held_.clear();
  ready_.clear();
}

void Traffic::Fail(const Held& h) {
  Event e;
  e.kind = Event::Kind::Fail;
  e.job = h.job;
  e.call = h.call;
  e.failure = server_.judge().Of(h.response, h.call);
  ready_.push_back(std::move(e));
}

std::optional<Traffic::Event> Traffic::Next() {
  for (;;) {
    if (!ready_.empty()) {
      Event e = std::move(ready_.front());
      ready_.pop_front();
      return e;
    }
    if (channel_->InFlight() > 0) {
      std::optional<http::Completion> done = channel_->Next();
      if (!done) continue;
      auto it = sent_.find(done->tag);
      if (it == sent_.end()) continue;
      Held h{it->second.first, std::move(it->second.second), std::move(done->response), false};
      sent_.erase(it);
      const http::Response& r = h.response;
      if (r.reach == http::Reach::Answered && r.status == 401) {
        if (repeatedAfter401_.count(h.job)) {
          Fail(h);
          continue;
        }
        held_.push_back(std::move(h));
        continue;
      }
      if (NoAnswer(r)) {
        h.noAnswer = true;
        LoginAgain& again = server_.again();
        if (!server_.Entry(Step::Start).unreachable && !triedLogin_ &&
            !repeatedAfterSilence_.count(h.job) && again.LogsInAgain()) {
          held_.push_back(std::move(h));
          continue;
        }
        if (!server_.Entry(Step::Start).unreachable)
          server_.SetUnreachable(server_.judge().Of(r, h.call));
        Fail(h);
        continue;
      }
      Event e;
      e.job = h.job;
      e.call = std::move(h.call);
      e.response = std::move(h.response);
      return e;
    }
    if (held_.empty()) return std::nullopt;
    Resolve();
  }
}

void Traffic::Resolve() {
  std::vector<Held> held = std::move(held_);
  held_.clear();
  LoginAgain& again = server_.again();
  bool silence = false;
  for (const Held& h : held) silence = silence || h.noAnswer;
  if (server_.Entry(Step::Start).unreachable) {
    for (const Held& h : held) Fail(h);
    return;
  }
  // One new login serves every request held, whatever its step.
  bool loggedIn = false;
  if (silence) {
    triedLogin_ = true;
    loggedIn = again.TryLogin();
    if (!loggedIn) {
      for (const Held& h : held)
        if (h.noAnswer) {
          server_.SetUnreachable(server_.judge().Of(h.response, h.call));
          break;
        }
      for (const Held& h : held) Fail(h);
      return;
    }
  }
  for (const Held& h : held) {
    bool repeat = false;
    if (h.noAnswer) {
      repeat = true;
      repeatedAfterSilence_.insert(h.job);
    } else {
      const Step step = h.call.step;
      if (loggedIn) {
        repeat = again.Repeats(step);
      } else if (!asked_.count(step)) {
        repeat = loggedIn = again.Again(step);
      }
      asked_.insert(step);
      if (repeat) repeatedAfter401_.insert(h.job);
    }
    if (!repeat) {
      Fail(h);
      continue;
    }
    Event e;
    e.kind = Event::Kind::Repeat;
    e.job = h.job;
    e.call = h.call;
    e.answerLost = h.noAnswer && h.call.changes && h.response.sent;
    ready_.push_back(std::move(e));
  }
}

}  // namespace essbase::rest
