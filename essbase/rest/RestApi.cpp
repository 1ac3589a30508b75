// Instances, logins, listings and applications over REST.
#include "essbase/rest/RestApi.h"

#include <cstring>

#include "essbase/library/AppInfoRecord.h"
#include "essbase/library/BufferChecks.h"
#include "essbase/rest/RestJson.h"
#include "essbase/rest/RestOutcome.h"
#include "essbase/rest/RestPaths.h"
#include "essbase/rest/RestSession.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/WireMapping.h"

namespace essbase::rest {

namespace {

constexpr int kApplicationPage = 100;

std::string TrimmedArgument(const char* text) {
  std::string_view s(text, strnlen(text, 4096));
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

// The host of the base URL for the record's 30-byte server field; empty
// rather than cut when it does not fit.
std::string ServerField(const std::string& base) {
  const size_t start = base.find("://") + 3;
  const size_t end = base.find_first_of(":/", start);
  std::string host = base.substr(start, end == std::string::npos ? end : end - start);
  return host.size() <= NameWidth ? host : std::string();
}

int32_t LoadState(const std::string& status, bool& loaded) {
  if (status == "started" || status == "loaded") {
    loaded = true;
  } else if (status == "stopped" || status == "unloaded") {
    loaded = false;
  } else {
    return RestStatusBadAnswer;
  }
  return 0;
}

}  // namespace

RestApi::RestApi() = default;
RestApi::~RestApi() = default;

int32_t RestApi::Enter(Handle context, RestSession*& session) {
  auto it = sessions_.find(context);
  if (it == sessions_.end()) return ESB_STS_BAD_CONTEXT;
  session = it->second.get();
  // The text tells of the last call only: a later message must not show an
  // earlier call's.
  if (!session->ended) session->failure.clear();
  return session->ended ? ESB_STS_RELOGIN : 0;
}

int32_t RestApi::Fail(RestSession& session, const Outcome& outcome) {
  session.failure = session.Scrubbed(outcome.text);
  if (outcome.status == ESB_STS_RELOGIN) {
    // The server dropped the session: whatever was open on it is gone.
    session.Forget();
    session.ended = true;
  }
  return outcome.status;
}

int32_t RestApi::Call(RestSession& session, const std::string& method, const std::string& url,
                      std::string& body, const std::string& payload) {
  HttpResponse r = session.http().Send({method, url, payload});
  const Outcome o = Judge(r, false);
  if (o.status != 0) return Fail(session, o);
  body = std::move(r.body);
  return 0;
}

int32_t RestApi::EsbInit(const ApiInitRecord& record, Handle& instance) {
  const uint32_t version = record.version();
  if (version != ESB_API_VERSION_6 && version != ESB_API_VERSION_5) return ESB_STS_BAD_VERSION;
  instance = next_++;
  instances_[instance] = version == ESB_API_VERSION_5 ? Generation::V5 : Generation::V6;
  return 0;
}

int32_t RestApi::EsbTerm(Handle instance) {
  if (!instances_.erase(instance)) return ESB_STS_BAD_INSTANCE;
  for (auto it = sessions_.begin(); it != sessions_.end();)
    it = it->second->instance() == instance ? sessions_.erase(it) : std::next(it);
  loginFailures_.erase(instance);
  return 0;
}

int32_t RestApi::EsbAutoLogin(Handle instance, std::span<char> server, std::span<char> user,
                              std::span<char> password, std::span<char> application,
                              std::span<char> database, int16_t /*options*/, int16_t& /*access*/,
                              Handle& /*context*/) {
  if (int32_t status = CheckAutoLoginBuffers(server, user, password, application, database))
    return status;
  if (!instances_.count(instance)) return ESB_STS_BAD_INSTANCE;
  return ESB_STS_CANCELLED;
}

int32_t RestApi::EsbLogin(Handle instance, const char* server, const char* user,
                          const char* password, int16_t& count, Handle& context) {
  if (!server || !user || !password) return ESB_STS_NULL_ARGUMENT;
  if (!instances_.count(instance)) return ESB_STS_BAD_INSTANCE;
  if (UrlCarriesCredentials(TrimmedArgument(server))) {
    loginFailures_[instance] =
        "the address holds a user name or password; give them at the login instead";
    return ESB_STS_UNKNOWN_SERVER;
  }
  const std::string base = ApiBase(TrimmedArgument(server));
  if (base.empty()) {
    loginFailures_[instance] = "the server is not an http:// or https:// address of at most " +
                               std::to_string(MaxServerUrl) + " characters";
    return ESB_STS_UNKNOWN_SERVER;
  }
  auto session = std::make_unique<RestSession>(instance, base, TrimmedArgument(user),
                                               TrimmedArgument(password));
  HttpResponse r = session->http().Send({"GET", base + "/session?includeGroups=false", {}});
  Outcome o = Judge(r, true);
  std::string why;
  if (o.status == 0 && !ParseSession(r.body, why))
    o = {RestStatusBadAnswer, "the session answer: " + why};
  if (o.status != 0) {
    loginFailures_[instance] = session->Scrubbed(o.text);
    return o.status;
  }
  count = 0;
  context = next_++;
  sessions_[context] = std::move(session);
  return 0;
}

int32_t RestApi::EsbLogout(Handle context) {
  auto it = sessions_.find(context);
  if (it == sessions_.end()) return ESB_STS_BAD_CONTEXT;
  const bool ended = it->second->ended;
  sessions_.erase(it);
  return ended ? ESB_STS_RELOGIN : 0;
}

int32_t RestApi::EsbListApplications(Handle context, int16_t& count) {
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  std::vector<std::string> names;
  for (;;) {
    std::string body, why;
    const std::string url = s->base() + "/applications?offset=" + std::to_string(names.size()) +
                            "&limit=" + std::to_string(kApplicationPage) + "&fields=name";
    if (int32_t status = Call(*s, "GET", url, body)) return status;
    NameList page;
    if (!ParseNameList(body, page, why))
      return Fail(*s, {RestStatusBadAnswer, "the application list: " + why});
    if (page.hasMore && page.names.empty())
      return Fail(*s, {RestStatusBadAnswer, "the application list: more announced, none given"});
    names.insert(names.end(), page.names.begin(), page.names.end());
    if (names.size() > MaxListing)
      return Fail(*s, {ESB_STS_TOO_MANY_ITEMS, "more than 32767 applications"});
    if (!page.hasMore) break;
  }
  std::vector<Item> items;
  for (const auto& n : names) items.push_back(ToItem(n, ApplicationNameWidth, {}, "application"));
  count = static_cast<int16_t>(items.size());
  s->StartListing(ItemApplicationName, std::move(items));
  return 0;
}

int32_t RestApi::EsbListDatabases(Handle context, const char* application, int16_t& count) {
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  std::string app, body, why;
  if (int32_t status = NameArgument(application, ApplicationNameWidth, app)) return status;
  if (int32_t status = Call(*s, "GET", ApplicationUrl(s->base(), app) + "/databases", body))
    return status;
  NameList list;
  if (!ParseNameList(body, list, why))
    return Fail(*s, {RestStatusBadAnswer, "the database list: " + why});
  if (list.names.size() > MaxListing)
    return Fail(*s, {ESB_STS_TOO_MANY_ITEMS, "more than 32767 databases"});
  std::string appField(ApplicationNameWidth, '\0');
  std::memcpy(appField.data(), app.data(), app.size());
  std::vector<Item> items;
  for (const auto& n : list.names)
    items.push_back(ToItem(n, ESB_DBNAME_WIDTH, appField, "database"));
  count = static_cast<int16_t>(items.size());
  s->StartListing(ItemDatabaseName, std::move(items));
  return 0;
}

int32_t RestApi::EsbGetNextItem(Handle context, int16_t kind, std::span<char> buffer) {
  if (int32_t status = CheckItemBuffer(kind, buffer)) return status;
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  return s->NextItem(kind, buffer);
}

int32_t RestApi::EsbGetApplicationInfo(Handle context, const char* application,
                                       std::span<uint8_t> record, int16_t& databases) {
  auto it = sessions_.find(context);
  const Generation g =
      it == sessions_.end() ? Generation::V6 : instances_.at(it->second->instance());
  if (record.size() < AppInfoSize(g)) return ESB_STS_BUFFER_TOO_SMALL;
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  std::string app, body, name, state, why;
  if (int32_t status = NameArgument(application, ApplicationNameWidth, app)) return status;
  if (int32_t status = Call(*s, "GET", ApplicationUrl(s->base(), app), body)) return status;
  if (!ParseApplication(body, name, state, why))
    return Fail(*s, {RestStatusBadAnswer, "the application answer: " + why});
  bool loaded = false;
  if (LoadState(state, loaded) != 0)
    return Fail(*s, {RestStatusBadAnswer,
                     "the application status \"" + state + "\" is neither started nor stopped"});
  const std::string server = ServerField(s->base());
  AppInfo info;
  info.application = app;
  info.server = server;
  info.loaded = loaded;
  WriteAppInfo(record, g, info);
  databases = 0;
  return 0;
}

int32_t RestApi::EsbUnloadApplication(Handle context, const char* application) {
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  std::string app, body;
  if (int32_t status = NameArgument(application, ApplicationNameWidth, app)) return status;
  return Call(*s, "PUT", ApplicationUrl(s->base(), app) + "?action=stop", body);
}

int32_t RestApi::EsbSetActive(Handle context, const char* application, const char* database,
                              int16_t& access) {
  RestSession* s = nullptr;
  if (int32_t status = Enter(context, s)) return status;
  std::string app, db, body;
  if (int32_t status = NameArgument(application, ApplicationNameWidth, app)) return status;
  if (int32_t status = NameArgument(database, ESB_DBNAME_WIDTH, db)) return status;
  if (int32_t status = Call(*s, "PUT", DatabaseUrl(s->base(), app, db) + "?action=start", body))
    return status;
  access = AccessNone;
  return 0;
}

bool RestApi::SetLoginPrompt(EsbSimLoginPrompt /*prompt*/, void* /*userData*/) {
  return false;
}

std::string RestApi::FailureText(Handle context) {
  auto it = sessions_.find(context);
  if (it != sessions_.end()) return it->second->failure;
  auto login = loginFailures_.find(context);
  return login == loginFailures_.end() ? std::string() : login->second;
}

}  // namespace essbase::rest
