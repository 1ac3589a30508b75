#include "essbase/ServerRouter.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "essbase/library/ByteOrder.h"
#include "essbase/ServerAddress.h"

namespace essbase {

namespace {

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// NUL-terminated within `buffer`; false, writing nothing, when it does not fit.
bool CopyOut(std::span<char> buffer, std::string_view text) {
  if (buffer.size() <= text.size()) return false;
  std::memcpy(buffer.data(), text.data(), text.size());
  buffer[text.size()] = '\0';
  return true;
}

template <size_t N>
void CopyIn(std::array<char, N>& into, const char* from, size_t size) {
  if (from) std::memcpy(into.data(), from, std::min(N - 1, size));
}

}  // namespace

ServerRouter::~ServerRouter() {
  if (hostPrompt_) library_.SetLoginPrompt(nullptr, nullptr);
}

int32_t ServerRouter::EsbInit(const ApiInitRecord& record, Handle& instance) {
  Handle library = 0;
  const int32_t status = library_.EsbInit(record, library);
  Handle rest = 0;
  if (rest_.EsbInit(record, rest) != 0) rest = 0;
  instance = status == 0 ? library : (RestTag | nextOwn_++);
  instances_[instance] = {rest, status};
  return status;
}

int32_t ServerRouter::EsbTerm(Handle instance) {
  const auto it = instances_.find(instance);
  const bool known = it != instances_.end();
  if (known) {
    if (it->second.rest) rest_.EsbTerm(it->second.rest);
    instances_.erase(it);
  }
  if (IsRest(instance)) return known ? 0 : ESB_STS_BAD_INSTANCE;
  return library_.EsbTerm(instance);
}

int32_t ServerRouter::AskHost(void* self, char* server, char* user, char* password) {
  auto* router = static_cast<ServerRouter*>(self);
  if (!router || !router->hostPrompt_) return ESB_STS_CANCELLED;
  std::array<char, ServerAnswerBuffer> s{};
  std::array<char, NameBuffer> u{};
  std::array<char, PasswordBuffer> p{};
  CopyIn(s, server, NameBuffer);
  CopyIn(u, user, NameBuffer);
  CopyIn(p, password, PasswordBuffer);
  const int32_t answer = router->hostPrompt_(router->hostData_, s.data(), u.data(), p.data());
  if (answer != 0) return answer;
  const std::string_view given = Trimmed(GetFixed(s.data(), s.size()));
  if (IsServerUrl(given)) {
    // The library cannot reach it: it gives up, and the router logs in.
    router->answer_ = {true, std::string(given), std::string(GetFixed(u.data(), u.size())),
                       std::string(GetFixed(p.data(), p.size()))};
    return ESB_STS_CANCELLED;
  }
  // A name for the library, within the library's own buffers.
  if (server) PutFixed(reinterpret_cast<uint8_t*>(server), NameWidth, given.substr(0, NameWidth));
  if (user) std::memcpy(user, u.data(), NameBuffer);
  if (password) std::memcpy(password, p.data(), PasswordBuffer);
  if (server) server[NameWidth] = '\0';
  if (user) user[NameWidth] = '\0';
  if (password) password[PasswordBuffer - 1] = '\0';
  return 0;
}

int32_t ServerRouter::LogInOverRest(Handle instance, const Answer& answer, std::span<char> server,
                                    std::span<char> user, std::span<char> password,
                                    Handle& context) {
  // The answers go back as the library's prompt gives them back: the user
  // is offered again at the next login.
  if (!CopyOut(server, answer.server)) return ESB_STS_BUFFER_TOO_SMALL;
  CopyOut(user, answer.user);
  CopyOut(password, answer.password);
  const auto it = instances_.find(instance);
  if (it == instances_.end() || it->second.rest == 0) return ESB_STS_BAD_INSTANCE;
  int16_t count = 0;
  Handle rest = 0;
  const int32_t status = rest_.EsbLogin(it->second.rest, answer.server.c_str(), answer.user.c_str(),
                                        answer.password.c_str(), count, rest);
  if (status == 0) context = rest | RestTag;
  return status;
}

int32_t ServerRouter::EsbAutoLogin(Handle instance, std::span<char> server, std::span<char> user,
                                   std::span<char> password, std::span<char> application,
                                   std::span<char> database, int16_t options, int16_t& access,
                                   Handle& context) {
  answer_ = {};
  if (IsRest(instance)) {
    // The library did not start: the host's prompt is asked here, and only
    // a URL can be served.
    const auto it = instances_.find(instance);
    if (it == instances_.end()) return ESB_STS_BAD_INSTANCE;
    if (!hostPrompt_ || server.size() < NameBuffer || user.size() < NameBuffer ||
        password.size() < PasswordBuffer)
      return it->second.library;
    const int32_t asked = AskHost(this, server.data(), user.data(), password.data());
    if (!answer_.pending) return asked != 0 ? asked : it->second.library;
  } else {
    const int32_t status = library_.EsbAutoLogin(instance, server, user, password, application,
                                                 database, options, access, context);
    if (!answer_.pending) return status;
  }
  const Answer answer = std::move(answer_);
  answer_ = {};
  access = 0;  // the REST API tells no access code at login
  return LogInOverRest(instance, answer, server, user, password, context);
}

int32_t ServerRouter::EsbLogin(Handle instance, const char* server, const char* user,
                               const char* password, int16_t& count, Handle& context) {
  if (server && IsServerUrl(Trimmed(server))) {
    const auto it = instances_.find(instance);
    if (it == instances_.end() || it->second.rest == 0) return ESB_STS_BAD_INSTANCE;
    Handle rest = 0;
    const int32_t status = rest_.EsbLogin(it->second.rest, server, user, password, count, rest);
    if (status == 0) context = rest | RestTag;
    return status;
  }
  if (IsRest(instance)) {
    const auto it = instances_.find(instance);
    return it == instances_.end() ? ESB_STS_BAD_INSTANCE : it->second.library;
  }
  return library_.EsbLogin(instance, server, user, password, count, context);
}

int32_t ServerRouter::EsbLogout(Handle context) {
  return For(context).EsbLogout(Pass(context));
}
int32_t ServerRouter::EsbListApplications(Handle context, int16_t& count) {
  return For(context).EsbListApplications(Pass(context), count);
}
int32_t ServerRouter::EsbListDatabases(Handle context, const char* application, int16_t& count) {
  return For(context).EsbListDatabases(Pass(context), application, count);
}
int32_t ServerRouter::EsbGetNextItem(Handle context, int16_t kind, std::span<char> buffer) {
  return For(context).EsbGetNextItem(Pass(context), kind, buffer);
}
int32_t ServerRouter::EsbGetApplicationInfo(Handle context, const char* application,
                                            std::span<uint8_t> record, int16_t& databases) {
  return For(context).EsbGetApplicationInfo(Pass(context), application, record, databases);
}
int32_t ServerRouter::EsbUnloadApplication(Handle context, const char* application) {
  return For(context).EsbUnloadApplication(Pass(context), application);
}
int32_t ServerRouter::EsbSetActive(Handle context, const char* application, const char* database,
                                   int16_t& access) {
  return For(context).EsbSetActive(Pass(context), application, database, access);
}
int32_t ServerRouter::EsbListFilters(Handle context, const char* application, const char* database,
                                     int16_t& count) {
  return For(context).EsbListFilters(Pass(context), application, database, count);
}
int32_t ServerRouter::EsbGetFilter(Handle context, const char* application, const char* database,
                                   const char* filter, int16_t& active, int16_t& access) {
  return For(context).EsbGetFilter(Pass(context), application, database, filter, active, access);
}
int32_t ServerRouter::EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) {
  return For(context).EsbGetFilterRow(Pass(context), row, access);
}
int32_t ServerRouter::EsbSetFilter(Handle context, const char* application, const char* database,
                                   const char* filter, int16_t active, int16_t access) {
  return For(context).EsbSetFilter(Pass(context), application, database, filter, active, access);
}
int32_t ServerRouter::EsbSetFilterRow(Handle context, const char* row, int16_t access) {
  return For(context).EsbSetFilterRow(Pass(context), row, access);
}
int32_t ServerRouter::EsbDeleteFilter(Handle context, const char* application, const char* database,
                                      const char* filter) {
  return For(context).EsbDeleteFilter(Pass(context), application, database, filter);
}

bool ServerRouter::SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) {
  hostPrompt_ = prompt;
  hostData_ = userData;
  // The library shows the host's prompt through the router; a library
  // without the hook shows its own, and then only names can be given.
  library_.SetLoginPrompt(prompt ? &ServerRouter::AskHost : nullptr, prompt ? this : nullptr);
  return prompt != nullptr;
}

size_t ServerRouter::LoginPromptServerBuffer() const {
  return ServerAnswerBuffer;
}

std::string ServerRouter::FailureText(Handle handle) {
  // An instance's text is its last failed login's, over REST.
  if (const auto it = instances_.find(handle); it != instances_.end() && it->second.rest)
    return rest_.FailureText(it->second.rest);
  return For(handle).FailureText(Pass(handle));
}

}  // namespace essbase
