#include "sim/serve/SimGateway.h"

#include <cstdlib>

#include "essbase/AccessWords.h"
#include "essbase/library/AppInfoRecord.h"
#include "essbase/library/ByteOrder.h"
#include "essbase/Latin1.h"

namespace esbsim::serve {

using essbase::Latin1ToUtf8;
using nlohmann::json;

namespace {

// A name from the wire as the store holds it.
bool StoreName(const std::string& utf8, std::string& latin1, Reply& refusal) {
  size_t badAt = 0;
  if (essbase::Utf8ToLatin1(utf8, latin1, badAt)) return true;
  refusal = {ESB_STS_BAD_NAME, "name \"" + utf8 + "\" is not Latin-1", {}};
  return false;
}

Reply Failed(int32_t status, const std::string& what) {
  return {status, what + " failed with status " + std::to_string(status), {}};
}

}  // namespace

bool SimGateway::Open(const std::string& storePath, std::string& error) {
  setenv("ESBSIM_STORE", storePath.c_str(), 1);
  if (store_.open(storePath, true) != 0) {
    error = storePath + ": " + store_.error();
    return false;
  }
  const int32_t status =
      api_.EsbInit(essbase::ApiInitRecord(ESB_API_VERSION_6, "serve"), instance_);
  if (status != 0) error = "EsbInit failed with status " + std::to_string(status);
  return status == 0;
}

int32_t SimGateway::Context(const Credentials& who, Handle& context) {
  const std::string key = who.user + '\0' + who.password;
  auto it = contexts_.find(key);
  if (it != contexts_.end()) {
    context = it->second;
    return 0;
  }
  std::string server;
  if (int32_t status = store_.serverName(server)) return status;
  int16_t count = 0;
  const int32_t status = api_.EsbLogin(instance_, server.c_str(), who.user.c_str(),
                                       who.password.c_str(), count, context);
  if (status == 0) contexts_[key] = context;
  return status;
}

Reply SimGateway::Done(const Credentials& who, Reply reply) {
  if (reply.status == ESB_STS_RELOGIN) contexts_.erase(who.user + '\0' + who.password);
  return reply;
}

int32_t SimGateway::Items(Handle context, int16_t kind, int16_t count, size_t width, size_t skip,
                          std::vector<std::string>& names) {
  std::string field(static_cast<size_t>(essbase::ItemWidth(kind)), '\0');
  for (int16_t i = 0; i < count; ++i) {
    if (int32_t status = api_.EsbGetNextItem(context, kind, field)) return status;
    names.push_back(Latin1ToUtf8(essbase::GetFixed(field.data() + skip, width)));
  }
  return 0;
}

int32_t SimGateway::Rows(Handle context, json& rows, std::string& why) {
  rows = json::array();
  std::string buffer(ESB_ROW_MAX + 1, '\0');
  for (;;) {
    int16_t access = 0;
    if (int32_t status = api_.EsbGetFilterRow(context, buffer, access)) return status;
    if (buffer[0] == '\0') return 0;
    const auto word = essbase::AccessWord(access);
    if (!word) {
      why = "row " + std::to_string(rows.size() + 1) + " has access code " +
            std::to_string(access) + ", which has no REST access word";
      return ESB_STS_STORE_FAILURE;
    }
    rows.push_back({{"access", std::string(*word)}, {"mbrSpec", Latin1ToUtf8(buffer.c_str())}});
  }
}

Reply SimGateway::Session(const Credentials& who) {
  std::lock_guard<std::mutex> lock(mutex_);
  Handle c = 0;
  if (int32_t status = Context(who, c)) return Done(who, Failed(status, "login"));
  return {0, {}, {{"id", who.user}, {"name", who.user}}};
}

Reply SimGateway::Applications(const Credentials& who, size_t offset, size_t limit) {
  std::lock_guard<std::mutex> lock(mutex_);
  Handle c = 0;
  int16_t count = 0;
  std::vector<std::string> names;
  int32_t status = Context(who, c);
  if (status == 0) status = api_.EsbListApplications(c, count);
  if (status == 0) status = Items(c, ESB_ITEM_APPNAME, count, ESB_APPNAME_WIDTH, 0, names);
  if (status) return Done(who, Failed(status, "EsbListApplications"));
  json items = json::array();
  for (size_t i = offset; i < names.size() && i - offset < limit; ++i)
    items.push_back({{"name", names[i]}});
  const size_t shown = items.size();
  return {0,
          {},
          {{"items", std::move(items)},
           {"count", shown},
           {"totalResults", names.size()},
           {"offset", offset},
           {"limit", limit},
           {"hasMore", offset + shown < names.size()}}};
}

Reply SimGateway::Application(const Credentials& who, const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  Reply refused;
  std::string app;
  if (!StoreName(name, app, refused)) return refused;
  Handle c = 0;
  std::vector<uint8_t> record(essbase::AppInfoSize(essbase::Generation::V6));
  int16_t databases = 0;
  int32_t status = Context(who, c);
  if (status == 0) status = api_.EsbGetApplicationInfo(c, app.c_str(), record, databases);
  if (status) return Done(who, Failed(status, "EsbGetApplicationInfo"));
  const bool loaded = essbase::ReadLoadState(record, essbase::Generation::V6);
  return {0, {}, {{"name", name}, {"status", loaded ? "started" : "stopped"}, {"type", "BSO"}}};
}

Reply SimGateway::StopApplication(const Credentials& who, const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  Reply refused;
  std::string app;
  if (!StoreName(name, app, refused)) return refused;
  Handle c = 0;
  int32_t status = Context(who, c);
  if (status == 0) status = api_.EsbUnloadApplication(c, app.c_str());
  if (status) return Done(who, Failed(status, "EsbUnloadApplication"));
  return {};
}

Reply SimGateway::Databases(const Credentials& who, const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  Reply refused;
  std::string app;
  if (!StoreName(name, app, refused)) return refused;
  Handle c = 0;
  int16_t count = 0;
  std::vector<std::string> names;
  int32_t status = Context(who, c);
  if (status == 0) status = api_.EsbListDatabases(c, app.c_str(), count);
  if (status == 0)
    status = Items(c, ESB_ITEM_DBNAME, count, ESB_DBNAME_WIDTH, ESB_APPNAME_WIDTH, names);
  if (status) return Done(who, Failed(status, "EsbListDatabases"));
  json items = json::array();
  for (const auto& n : names) items.push_back({{"name", n}, {"application", name}});
  return {0, {}, {{"items", std::move(items)}, {"count", names.size()}}};
}

Reply SimGateway::StartDatabase(const Credentials& who, const std::string& appName,
                                const std::string& dbName) {
  std::lock_guard<std::mutex> lock(mutex_);
  Reply refused;
  std::string app, db;
  if (!StoreName(appName, app, refused) || !StoreName(dbName, db, refused)) return refused;
  Handle c = 0;
  int16_t access = 0;
  int32_t status = Context(who, c);
  if (status == 0) status = api_.EsbSetActive(c, app.c_str(), db.c_str(), access);
  if (status) return Done(who, Failed(status, "EsbSetActive"));
  return {};
}

Reply SimGateway::Filters(const Credentials& who, const std::string& appName,
                          const std::string& dbName) {
  std::lock_guard<std::mutex> lock(mutex_);
  Reply refused;
  std::string app, db;
  if (!StoreName(appName, app, refused) || !StoreName(dbName, db, refused)) return refused;
  Handle c = 0;
  int16_t count = 0;
  std::vector<std::string> names;
  int32_t status = Context(who, c);
  if (status == 0) status = api_.EsbListFilters(c, app.c_str(), db.c_str(), count);
  if (status == 0) status = Items(c, ESB_ITEM_FILTERNAME, count, ESB_FILTERNAME_WIDTH, 0, names);
  if (status) return Done(who, Failed(status, "EsbListFilters"));
  json items = json::array();
  for (const auto& n : names) items.push_back({{"name", n}});
  return {0, {}, {{"items", std::move(items)}, {"count", names.size()}}};
}

Reply SimGateway::Filter(const Credentials& who, const std::string& appName,
                         const std::string& dbName, const std::string& filterName, bool rowsOnly) {
  std::lock_guard<std::mutex> lock(mutex_);
  Reply refused;
  std::string app, db, filter, why;
  if (!StoreName(appName, app, refused) || !StoreName(dbName, db, refused) ||
      !StoreName(filterName, filter, refused))
    return refused;
  Handle c = 0;
  int16_t active = 0, access = 0;
  json rows;
  int32_t status = Context(who, c);
  if (status == 0)
    status = api_.EsbGetFilter(c, app.c_str(), db.c_str(), filter.c_str(), active, access);
  if (status) return Done(who, Failed(status, "EsbGetFilter"));
  if (int32_t rowStatus = Rows(c, rows, why)) {
    Reply r = why.empty() ? Failed(rowStatus, "EsbGetFilterRow") : Reply{rowStatus, why, {}};
    return Done(who, r);
  }
  if (rowsOnly) return {0, {}, {{"items", std::move(rows)}}};
  return {0, {}, {{"name", filterName}, {"rows", std::move(rows)}}};
}

Reply SimGateway::WriteFilter(const Credentials& who, const std::string& appName,
                              const std::string& dbName, const std::string& filterName,
                              const std::vector<WireRow>& rows, bool create) {
  std::lock_guard<std::mutex> lock(mutex_);
  Reply refused;
  std::string app, db, filter;
  if (!StoreName(appName, app, refused) || !StoreName(dbName, db, refused) ||
      !StoreName(filterName, filter, refused))
    return refused;
  // The rows are checked before the server sees any call of the write.
  std::vector<std::pair<int16_t, std::string>> texts;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto code = essbase::AccessCode(rows[i].access);
    std::string text;
    size_t badAt = 0;
    const std::string at = "row " + std::to_string(i + 1);
    if (!code) return {ESB_STS_BAD_ROW, at + ": unknown access \"" + rows[i].access + "\"", {}};
    if (!essbase::Utf8ToLatin1(rows[i].mbrSpec, text, badAt))
      return {ESB_STS_BAD_ROW, at + " is not Latin-1", {}};
    texts.emplace_back(*code, std::move(text));
  }
  StoredFilter found;
  const int32_t existing = store_.findFilter(app, db, filter, found);
  if (create && existing == 0)
    return {ESB_STS_BAD_NAME, "filter \"" + filterName + "\" already exists", {}};
  if (!create && existing == ESB_STS_UNKNOWN_FILTER)
    return {ESB_STS_UNKNOWN_FILTER, "filter \"" + filterName + "\" does not exist", {}};
  Handle c = 0;
  int32_t status = Context(who, c);
  if (status == 0)
    status = api_.EsbSetFilter(c, app.c_str(), db.c_str(), filter.c_str(), essbase::FilterActive,
                               essbase::FilterAccess);
  if (status) return Done(who, Failed(status, "EsbSetFilter"));
  json echoed = json::array();
  for (size_t i = 0; i < texts.size(); ++i) {
    const int32_t rowStatus = api_.EsbSetFilterRow(c, texts[i].second.c_str(), texts[i].first);
    if (rowStatus)
      return Done(who, Failed(rowStatus, "EsbSetFilterRow (row " + std::to_string(i + 1) + ")"));
    echoed.push_back({{"access", rows[i].access}, {"mbrSpec", rows[i].mbrSpec}});
  }
  if (int32_t closing = api_.EsbSetFilterRow(c, nullptr, essbase::FilterAccess))
    return Done(who, Failed(closing, "EsbSetFilterRow (closing)"));
  return {0, {}, {{"name", filterName}, {"rows", std::move(echoed)}}};
}

Reply SimGateway::DeleteFilter(const Credentials& who, const std::string& appName,
                               const std::string& dbName, const std::string& filterName) {
  std::lock_guard<std::mutex> lock(mutex_);
  Reply refused;
  std::string app, db, filter;
  if (!StoreName(appName, app, refused) || !StoreName(dbName, db, refused) ||
      !StoreName(filterName, filter, refused))
    return refused;
  Handle c = 0;
  int32_t status = Context(who, c);
  if (status == 0) status = api_.EsbDeleteFilter(c, app.c_str(), db.c_str(), filter.c_str());
  if (status) return Done(who, Failed(status, "EsbDeleteFilter"));
  return {};
}

}  // namespace esbsim::serve
