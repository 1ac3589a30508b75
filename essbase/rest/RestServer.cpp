// Logins, listings and the single requests of the REST backend.
#include "essbase/rest/RestServer.h"

#include "essbase/Constants.h"
#include "essbase/ServerAddress.h"
#include "essbase/rest/Listing.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/Texts.h"
#include "essbase/rest/Traffic.h"
#include "essbase/rest/Url.h"

namespace essbase::rest {

namespace {

std::string Trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

// An application's status as the listing and Get Application give it.
std::optional<bool> LoadedFrom(std::string_view status) {
  if (EqualNoCase(status, "started")) return true;
  if (EqualNoCase(status, "stopped")) return false;
  return std::nullopt;
}

}  // namespace

RestServer::RestServer() : RestServer(http::MakeClient()) {}

RestServer::RestServer(std::unique_ptr<http::Client> client) : http_(std::move(client)) {}

RestServer::~RestServer() = default;

Failure RestServer::Entry(Step step, std::string_view filter) const {
  Failure f;
  if (unreachable_) {
    f = *unreachable_;
    f.unknownOutcome = false;
  } else if (base_.empty()) {
    f.status = ESB_STS_BAD_CONTEXT;
    f.detail = "not logged in";
  } else {
    return f;
  }
  f.step = step;
  f.filter = std::string(filter);
  f.call.clear();
  return f;
}

Failure RestServer::Unsent(const Call& call) const {
  if (Failure f = Entry(call.step, call.filter)) return f;
  return judge_.Own(call, RestStatusTransfer, "the request could not be sent");
}

void RestServer::SetUnreachable(const Failure& failure) {
  Failure f = failure;
  f.unreachable = true;
  f.unknownOutcome = false;
  f.filter.clear();
  f.serverText.clear();
  unreachable_ = std::move(f);
}

Failure RestServer::LogIn(const Credentials& c) {
  // Nothing of the previous login survives, whatever this one's outcome.
  unreachable_.reset();
  base_.clear();
  basicEach_ = false;
  const std::string server = Trimmed(c.server);
  const Call call{Step::LogIn, {}, "GET session", false};
  if (UrlCarriesCredentials(server)) {
    judge_ = Judge({}, Scrubber(c.user, c.password), http_->TimeoutSeconds());
    return judge_.Own(call, ESB_STS_UNKNOWN_SERVER,
                      "the server's address holds a user name or password; give them at the "
                      "login instead");
  }
  judge_ = Judge(server, Scrubber(c.user, c.password), http_->TimeoutSeconds());
  const std::string base = ApiBase(server);
  if (base.empty())
    return judge_.Own(call, ESB_STS_UNKNOWN_SERVER,
                      "the server is not an http:// or https:// address of at most " +
                          std::to_string(MaxServerUrl) + " characters without blanks");
  if (c.user.find(':') != std::string::npos || !NameFault(c.user).empty())
    return judge_.Own(call, ESB_STS_BAD_LOGIN,
                      "the user name is empty or holds a colon or a control character, which "
                      "basic authentication cannot carry");
  http_->NewLogin(c.user, c.password);
  http::Request request;
  request.url = base + SessionPath();
  request.basic = true;
  std::unique_ptr<http::Channel> channel = http_->OpenChannel();
  channel->Start(0, request);
  std::optional<http::Completion> done = channel->Next();
  if (!done) return judge_.Own(call, RestStatusTransfer, "the login request got no outcome");
  if (Failure f = judge_.Of(done->response, call, true)) return f;
  std::string why;
  if (!ParseSession(done->response.body, why)) return judge_.BadAnswer(call, why);
  base_ = base;
  basicEach_ = !http_->HoldsCookie();
  return {};
}

Failure RestServer::LogOut() {
  if (base_.empty()) return {};
  Failure f = Entry(Step::LogOut);
  if (!f) {
    const Call call{Step::LogOut, {}, "DELETE session", true};
    http::Request request;
    request.method = http::Method::Delete;
    request.url = base_ + SessionPath();
    request.basic = basicEach_;
    std::unique_ptr<http::Channel> channel = http_->OpenChannel();
    channel->Start(0, request);
    if (std::optional<http::Completion> done = channel->Next()) {
      // A session the server ended already is as good as ended here.
      if (done->response.reach != http::Reach::Answered || done->response.status != 401)
        f = judge_.Of(done->response, call);
    }
  }
  base_.clear();
  basicEach_ = false;
  http_->NewLogin({}, {});
  return f;
}

Failure RestServer::Exchange(const Call& call, const http::Request& request,
                             http::Response& answer) {
  if (Failure f = Entry(call.step, call.filter)) return f;
  Traffic traffic(*this);
  traffic.Send(0, call, request);
  while (std::optional<Traffic::Event> e = traffic.Next()) {
    if (e->kind == Traffic::Event::Kind::Fail) return e->failure;
    if (e->kind == Traffic::Event::Kind::Repeat) {
      if (!traffic.Open()) return Unsent(call);
      traffic.Send(0, call, request);
      continue;
    }
    if (Failure f = judge_.Of(e->response, call)) return f;
    answer = std::move(e->response);
    return {};
  }
  return Unsent(call);
}

Failure RestServer::List(const Call& call, const std::string& path, std::vector<NameItem>& items) {
  items.clear();
  if (Failure f = Entry(call.step, call.filter)) return f;
  NameListing listing(path);
  Traffic traffic(*this);
  traffic.Send(0, call, listing.Next());
  Failure failed;
  while (std::optional<Traffic::Event> e = traffic.Next()) {
    if (e->kind == Traffic::Event::Kind::Fail) {
      failed = e->failure;
      break;
    }
    if (e->kind == Traffic::Event::Kind::Answer) {
      if ((failed = judge_.Of(e->response, call))) break;
      int32_t status = 0;
      std::string why;
      const NameListing::State state = listing.Take(e->response, status, why);
      if (state == NameListing::State::Done) break;
      if (state == NameListing::State::Failed) {
        failed = status == RestStatusBadAnswer ? judge_.BadAnswer(call, why)
                                               : judge_.Own(call, status, why);
        break;
      }
    } else {
      listing.Restart();
    }
    if (!traffic.Open()) {
      failed = Unsent(call);
      break;
    }
    traffic.Send(0, call, listing.Next());
  }
  items = std::move(listing.items);
  return failed;
}

Failure RestServer::ListApplications(std::vector<Application>& applications) {
  applications.clear();
  std::vector<NameItem> items;
  const Failure f =
      List({Step::ListApplications, {}, "GET applications"}, ApplicationsPath(), items);
  for (NameItem& item : items)
    applications.push_back({std::move(item.name), LoadedFrom(item.status)});
  return f;
}

Failure RestServer::ListDatabases(const std::string& application,
                                  std::vector<Database>& databases) {
  databases.clear();
  std::vector<NameItem> items;
  const Failure f =
      List({Step::ListDatabases, {}, "GET databases"}, DatabasesPath(application), items);
  for (NameItem& item : items)
    databases.push_back({item.application.empty() ? application : std::move(item.application),
                         std::move(item.name)});
  return f;
}

Failure RestServer::ListFilters(const Database& db, std::vector<std::string>& names) {
  names.clear();
  std::vector<NameItem> items;
  const Failure f =
      List({Step::ListFilters, {}, "GET filters"}, FiltersPath(db.application, db.database), items);
  names.reserve(items.size());
  for (NameItem& item : items) names.push_back(std::move(item.name));
  return f;
}

Failure RestServer::ApplicationLoaded(const std::string& application, bool& loaded) {
  const Call call{Step::ApplicationState, {}, "GET application", false};
  http::Request request;
  request.url = ApplicationPath(application);
  http::Response answer;
  if (Failure f = Exchange(call, request, answer)) return f;
  std::string name, status, why;
  if (!ParseApplication(answer.body, name, status, why)) return judge_.BadAnswer(call, why);
  const std::optional<bool> state = LoadedFrom(status);
  if (!state)
    return judge_.BadAnswer(call,
                            "the status " + Quoted(status) + " is neither started nor stopped");
  loaded = *state;
  return {};
}

Failure RestServer::Activate(const Database& db) {
  http::Request request;
  request.method = http::Method::Put;
  request.url = DatabasePath(db.application, db.database) + "?action=start";
  http::Response answer;
  return Exchange({Step::Activate, {}, "PUT database start", true}, request, answer);
}

Failure RestServer::StopApplication(const std::string& application) {
  http::Request request;
  request.method = http::Method::Put;
  request.url = ApplicationPath(application) + "?action=stop";
  http::Response answer;
  return Exchange({Step::StopApplication, {}, "PUT application stop", true}, request, answer);
}

}  // namespace essbase::rest
