// Start, logins and listings over the client library.
#include "essbase/library/LibraryServer.h"

#include <array>
#include <cstring>

#include "essbase/Latin1.h"
#include "essbase/ServerAddress.h"
#include "essbase/library/ApiInitRecord.h"
#include "essbase/library/ApplicationLoadState.h"
#include "essbase/library/ByteOrder.h"
#include "essbase/library/Connection.h"

namespace essbase {

namespace {

std::string FieldText(const char* field, size_t width) {
  return Latin1ToUtf8(GetFixed(field, width));
}

std::string Trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

// A login text as the library takes it; nothing outside Latin-1 is replaced.
bool LoginText(std::string_view utf8, std::string& latin1) {
  size_t badAt = 0;
  return Utf8ToLatin1(utf8, latin1, badAt);
}

}  // namespace

std::string NotHeldDetail(int32_t status) {
  if (status == ESB_STS_NAME_NOT_HELD)
    return "the server holds a name the client library's fields cannot hold (more than 8, 8 or "
           "30 characters, or a character beyond Latin-1); its REST API serves it";
  if (status == ESB_STS_ROW_NOT_HELD)
    return "the filter has a row with a character beyond Latin-1, which the client library "
           "cannot carry; the server's REST API serves it";
  return {};
}

bool LibraryName(std::string_view utf8, size_t width, const char* what, std::string& latin1,
                 Failure& failure) {
  size_t badAt = 0;
  std::string why;
  if (!Utf8ToLatin1(utf8, latin1, badAt))
    why = " has a character the client library cannot carry (Latin-1 only)";
  else if (latin1.size() > width)
    why = " is longer than the client library's " + std::to_string(width) + " characters";
  if (why.empty()) return true;
  failure.status = ESB_STS_BAD_NAME;
  failure.detail = std::string("the ") + what + " name \"" + std::string(utf8) + "\"" + why;
  return false;
}

bool LibraryNames(const Database& db, const std::string* filter, LatinNames& out,
                  Failure& failure) {
  return LibraryName(db.application, ApplicationNameWidth, "application", out.app, failure) &&
         LibraryName(db.database, DatabaseNameWidth, "database", out.db, failure) &&
         (!filter || LibraryName(*filter, FilterNameWidth, "filter", out.filter, failure));
}

LibraryServer::LibraryServer(EssbaseApi& api, ConnectionState& conn)
    : api_(api), conn_(conn), definitions_([this] { return LogInAgainQuietly(); }) {}

LibraryServer::~LibraryServer() {
  if (promptLent_) api_.SetLoginPrompt(nullptr, nullptr);
}

int32_t LibraryServer::Call(FunctionRef<int32_t(Handle)> call) {
  conn_.Status = call(conn_.ContextHandle);
  if (conn_.Status == ReloginStatus) definitions_.LoginEnded();
  return conn_.Status;
}

int32_t LibraryServer::CallRepeating(Step step, FunctionRef<int32_t(Handle)> call) {
  if (Call(call) == ReloginStatus && again().Again(step)) Call(call);
  return conn_.Status;
}

int32_t LibraryServer::CallWrite(FunctionRef<int32_t(Handle)> call) {
  if (const int32_t status = definitions_.BeforeWrite(); status != 0) {
    conn_.Status = status;
    return status;
  }
  return Call(call);
}

Failure LibraryServer::Start(Generation generation, std::string_view localPath) {
  generation_ = generation;
  const ApiInitRecord record(InitVersion(generation), localPath);
  conn_.Status = api_.EsbInit(record, conn_.InstanceHandle);
  return FailureOf(Step::Start, conn_.Status, conn_.Status ? "EsbInit" : "");
}

void LibraryServer::End() {
  conn_.Status = api_.EsbTerm(conn_.InstanceHandle);
}

Failure LibraryServer::LogIn(const Credentials& c) {
  Failure f = FailureOf(Step::LogIn, 0);
  std::string server, user, password;
  if (!LoginText(Trimmed(c.server), server) || !LoginText(c.user, user) ||
      !LoginText(c.password, password)) {
    f.status = conn_.Status = ESB_STS_BAD_NAME;
    f.detail = "the server, user or password has a character the client library cannot carry";
    return f;
  }
  int16_t count = 0;
  conn_.Status = api_.EsbLogin(conn_.InstanceHandle, server.c_str(), user.c_str(), password.c_str(),
                               count, conn_.ContextHandle);
  if (conn_.Status != 0) {
    f.status = conn_.Status;
    f.call = "EsbLogin";
    return f;
  }
  definitions_.NewLogin();
  conn_.Server = c.server;
  conn_.User = c.user;
  conn_.Password = c.password;
  return f;
}

int32_t LibraryServer::LogInAgainQuietly() {
  api_.EsbLogout(conn_.ContextHandle);
  return LogIn({conn_.Server, conn_.User, conn_.Password}).status;
}

Failure LibraryServer::LogOut() {
  // Its status tells nothing anybody acts on; nothing of that login remains.
  api_.EsbLogout(conn_.ContextHandle);
  definitions_.NewLogin();
  return {};
}

bool LibraryServer::SetLoginPrompt(LoginPrompt prompt) {
  prompt_ = std::move(prompt);
  if (promptLent_ && !prompt_) {
    api_.SetLoginPrompt(nullptr, nullptr);
    promptLent_ = false;
  } else if (prompt_) {
    promptLent_ = api_.SetLoginPrompt(&LibraryServer::AskHost, this);
  }
  return promptLent_;
}

int32_t LibraryServer::AskHost(void* self, char* server, char* user, char* password) {
  auto* backend = static_cast<LibraryServer*>(self);
  if (!backend || !backend->prompt_) return LoginCancelled;
  // The library's buffers: server and user NameBuffer bytes, password
  // PasswordBuffer bytes.
  std::string s = server ? Trimmed(FieldText(server, NameWidth)) : std::string();
  std::string u = user ? FieldText(user, NameWidth) : std::string();
  std::string p = password ? FieldText(password, PasswordBuffer - 1) : std::string();
  const int32_t answer = backend->prompt_(s, u, p);
  if (answer != 0) return answer;
  s = Trimmed(s);
  if (IsServerUrl(s)) {
    // The library cannot reach it: it gives up, and the session logs in there.
    backend->elsewhere_ = Credentials{s, u, p};
    return LoginCancelled;
  }
  std::string ls, lu, lp;
  if (!LoginText(s, ls) || !LoginText(u, lu) || !LoginText(p, lp)) return ESB_STS_BAD_NAME;
  // Within the library's own buffers; the login copies the answers back cut
  // to their fields.
  if (server) {
    PutFixed(reinterpret_cast<uint8_t*>(server), NameWidth, ls.substr(0, NameWidth));
    server[NameWidth] = '\0';
  }
  if (user) {
    PutFixed(reinterpret_cast<uint8_t*>(user), NameWidth, lu.substr(0, NameWidth));
    user[NameWidth] = '\0';
  }
  if (password) {
    PutFixed(reinterpret_cast<uint8_t*>(password), PasswordBuffer - 1,
             lp.substr(0, PasswordBuffer - 1));
    password[PasswordBuffer - 1] = '\0';
  }
  return 0;
}

Failure LibraryServer::PromptLogIn(std::optional<Credentials>& elsewhere) {
  elsewhere_.reset();
  const int32_t status = AutoLogin(api_, conn_);
  if (elsewhere_) {
    elsewhere = std::move(elsewhere_);
    elsewhere_.reset();
  }
  if (status == 0) definitions_.NewLogin();
  return FailureOf(Step::LogIn, status, status ? "EsbAutoLogin" : "");
}

Failure LibraryServer::ListApplications(std::vector<Application>& applications) {
  applications.clear();
  int16_t n = 0;
  if (Call([&](Handle c) { return api_.EsbListApplications(c, n); }) != 0)
    return FailureOf(Step::ListApplications, conn_.Status, "EsbListApplications");
  for (int i = 0; i < n; ++i) {
    std::array<char, ApplicationNameWidth> name{};
    // An application the fields cannot hold is passed over: the others
    // still make the tree.
    if (Call([&](Handle c) { return api_.EsbGetNextItem(c, ItemApplicationName, name); }) != 0) {
      if (conn_.Status == ESB_STS_NAME_NOT_HELD) continue;
      return FailureOf(Step::ListApplications, conn_.Status, "EsbGetNextItem");
    }
    applications.push_back({FieldText(name.data(), name.size()), std::nullopt});
  }
  return {};
}

Failure LibraryServer::ApplicationLoaded(const std::string& application, bool& loaded) {
  Failure f;
  std::string app;
  if (!LibraryName(application, ApplicationNameWidth, "application", app, f)) {
    f.step = Step::ApplicationState;
    conn_.Status = f.status;
    return f;
  }
  Call([&](Handle c) { return ReadApplicationLoaded(api_, c, app, generation_, loaded); });
  return FailureOf(Step::ApplicationState, conn_.Status,
                   conn_.Status ? "EsbGetApplicationInfo" : "");
}

Failure LibraryServer::ListDatabases(const std::string& application,
                                     std::vector<Database>& databases) {
  databases.clear();
  Failure f;
  std::string app;
  if (!LibraryName(application, ApplicationNameWidth, "application", app, f)) {
    f.step = Step::ListDatabases;
    conn_.Status = f.status;
    return f;
  }
  int16_t k = 0;
  if (Call([&](Handle c) { return api_.EsbListDatabases(c, app.c_str(), k); }) != 0)
    return FailureOf(Step::ListDatabases, conn_.Status, "EsbListDatabases");
  for (int i = 0; i < k; ++i) {
    std::array<char, DatabaseItemWidth> pair{};
    if (Call([&](Handle c) { return api_.EsbGetNextItem(c, ItemDatabaseName, pair); }) != 0) {
      if (conn_.Status == ESB_STS_NAME_NOT_HELD) continue;
      return FailureOf(Step::ListDatabases, conn_.Status, "EsbGetNextItem");
    }
    databases.push_back({FieldText(pair.data(), ApplicationNameWidth),
                         FieldText(pair.data() + ApplicationNameWidth, DatabaseNameWidth)});
  }
  return {};
}

Failure LibraryServer::NextFilterName(std::string& name) {
  std::array<char, FilterNameWidth> field{};
  if (Call([&](Handle c) { return api_.EsbGetNextItem(c, ItemFilterName, field); }) != 0) {
    Failure f = FailureOf(Step::ListFilters, conn_.Status, "EsbGetNextItem");
    f.detail = NotHeldDetail(f.status);
    return f;
  }
  // A name that fills its field has no NUL.
  name = FieldText(field.data(), field.size());
  return {};
}

Failure LibraryServer::StartFilterListing(const Database& db, int16_t& count) {
  Failure f;
  LatinNames latin;
  if (!LibraryNames(db, nullptr, latin, f)) {
    f.step = Step::ListFilters;
    conn_.Status = f.status;
    return f;
  }
  count = 0;
  if (CallRepeating(Step::ListFilters, [&](Handle c) {
        return api_.EsbListFilters(c, latin.app.c_str(), latin.db.c_str(), count);
      }) != 0)
    return FailureOf(Step::ListFilters, conn_.Status, "EsbListFilters");
  return {};
}

Failure LibraryServer::ListFilters(const Database& db, std::vector<std::string>& names) {
  names.clear();
  int16_t count = 0;
  if (Failure f = StartFilterListing(db, count)) return f;
  for (int i = 0; i < count; ++i) {
    std::string name;
    if (Failure failed = NextFilterName(name)) return failed;
    names.push_back(std::move(name));
  }
  return {};
}

Failure LibraryServer::Activate(const Database& db) {
  Failure f;
  LatinNames latin;
  if (!LibraryNames(db, nullptr, latin, f)) {
    f.step = Step::Activate;
    conn_.Status = f.status;
    return f;
  }
  int16_t access = 0;
  CallRepeating(Step::Activate, [&](Handle c) {
    return api_.EsbSetActive(c, latin.app.c_str(), latin.db.c_str(), access);
  });
  return FailureOf(Step::Activate, conn_.Status, conn_.Status ? "EsbSetActive" : "");
}

Failure LibraryServer::StopApplication(const std::string& application) {
  Failure f;
  std::string app;
  if (!LibraryName(application, ApplicationNameWidth, "application", app, f)) {
    f.step = Step::StopApplication;
    conn_.Status = f.status;
    return f;
  }
  Call([&](Handle c) { return api_.EsbUnloadApplication(c, app.c_str()); });
  return FailureOf(Step::StopApplication, conn_.Status, conn_.Status ? "EsbUnloadApplication" : "");
}

}  // namespace essbase
