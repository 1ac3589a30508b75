#include "tests/support/FakeEssbaseApi.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "essbase/library/AppInfoRecord.h"
#include "essbase/library/ByteOrder.h"

namespace essbase::testing {

namespace {

std::string Str(const char* s) {
  return s ? std::string(s) : std::string("null");
}

std::string Trim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// Copies text into a NUL-terminated buffer, never past its size.
void CopyOut(std::span<char> buffer, const std::string& text) {
  if (buffer.empty()) return;
  size_t n = std::min(buffer.size() - 1, text.size());
  std::memcpy(buffer.data(), text.data(), n);
  buffer[n] = '\0';
}

std::string Fixed(const std::string& text, size_t width) {
  std::string field(width, '\0');
  PutFixed(reinterpret_cast<uint8_t*>(field.data()), width, text);
  return field;
}

}  // namespace

std::string FakeCall::text() const {
  std::string out = name + "(";
  for (size_t i = 0; i < args.size(); ++i) out += (i ? "," : "") + args[i];
  return out + ")";
}

FakeApplication& FakeEssbaseApi::AddApplication(const std::string& name, bool loaded) {
  applications.push_back({name, loaded, {}});
  return applications.back();
}

FakeDatabase& FakeEssbaseApi::AddDatabase(const std::string& app, const std::string& db) {
  FakeApplication* a = FindApplication(app);
  if (!a) a = &AddApplication(app);
  a->databases.push_back({db, {}});
  return a->databases.back();
}

FakeFilter& FakeEssbaseApi::AddFilter(const std::string& app, const std::string& db,
                                      const std::string& name, std::vector<FakeRow> rows) {
  FakeDatabase* d = FindDatabase(app, db);
  if (!d) d = &AddDatabase(app, db);
  d->filters.push_back({name, 1, FilterAccess, std::move(rows)});
  return d->filters.back();
}

FakeApplication* FakeEssbaseApi::FindApplication(const std::string& app) {
  for (auto& a : applications)
    if (a.name == app) return &a;
  return nullptr;
}

FakeDatabase* FakeEssbaseApi::FindDatabase(const std::string& app, const std::string& db) {
  FakeApplication* a = FindApplication(app);
  if (!a) return nullptr;
  for (auto& d : a->databases)
    if (d.name == db) return &d;
  return nullptr;
}

FakeFilter* FakeEssbaseApi::FindFilter(const std::string& app, const std::string& db,
                                       const std::string& name) {
  FakeDatabase* d = FindDatabase(app, db);
  if (!d) return nullptr;
  for (auto& f : d->filters)
    if (f.name == name) return &f;
  return nullptr;
}

void FakeEssbaseApi::Fail(Operation operation, int32_t status, int after, int times) {
  faults_.push_back({operation, status, after, times});
}

void FakeEssbaseApi::Fail(const std::string& operation, int32_t status, int after, int times) {
  Operation op;
  if (!FindOperation(operation, op)) throw std::invalid_argument("no operation " + operation);
  Fail(op, status, after, times);
}

std::string FakeEssbaseApi::CallsText(const std::string& only) const {
  std::string out;
  for (const auto& c : calls)
    if (only.empty() || c.name == only) out += c.text() + "\n";
  return out;
}

int FakeEssbaseApi::CountCalls(const std::string& name) const {
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [&](const FakeCall& c) { return c.name == name; }));
}

int32_t FakeEssbaseApi::Enter(Operation op, Handle context, std::vector<std::string> args,
                              bool takesContext) {
  calls.push_back({op, std::string(OperationName(op)), std::move(args), context});
  if (onCall) onCall(calls.back());
  current_ = context;
  if (takesContext) {
    if (ended_.contains(context)) return ESB_STS_BAD_CONTEXT;
    if (Current().ended) return ESB_STS_RELOGIN;
  }
  for (auto& f : faults_) {
    if (f.operation != op) continue;
    if (succeeded_[static_cast<size_t>(op)] < f.after) continue;
    if (f.times != 0 && f.fired >= f.times) continue;
    ++f.fired;
    if (takesContext && f.status == ESB_STS_RELOGIN && reloginEndsSession) {
      // The server dropped the session: whatever was open on it is gone.
      Session& dropped = Current();
      const Handle instance = dropped.instance;
      dropped = Session();
      dropped.instance = instance;
      dropped.ended = true;
    }
    return f.status;
  }
  return 0;
}

Handle FakeEssbaseApi::NewContext(Handle instance) {
  const Handle context = ++nextContext_;
  sessions_[context].instance = instance;
  ownContexts_.insert(context);
  return context;
}

int32_t FakeEssbaseApi::EsbInit(const ApiInitRecord& record, Handle& instance) {
  std::ostringstream v;
  v << "0x" << std::hex << record.version();
  if (int32_t s = Enter(Operation::EsbInit, 0, {v.str()}, false)) return s;
  lastInitVersion = record.version();
  lastInitRecord.assign(record.bytes().begin(), record.bytes().end());
  v5_ = record.version() == ESB_API_VERSION_5;
  instance = nextInstance_++;
  Succeeded(Operation::EsbInit);
  return 0;
}

int32_t FakeEssbaseApi::EsbTerm(Handle instance) {
  if (int32_t s = Enter(Operation::EsbTerm, 0, {std::to_string(instance)}, false)) return s;
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (it->second.instance == instance && ownContexts_.contains(it->first)) {
      ended_.insert(it->first);
      it = sessions_.erase(it);
    } else {
      ++it;
    }
  }
  Succeeded(Operation::EsbTerm);
  return 0;
}

int32_t FakeEssbaseApi::EsbAutoLogin(Handle instance, std::span<char> server, std::span<char> user,
                                     std::span<char> password, std::span<char> application,
                                     std::span<char> database, int16_t options, int16_t& access,
                                     Handle& context) {
  // Raw arguments, so that tests see exactly what the caller passed (blanks too).
  if (int32_t s = Enter(Operation::EsbAutoLogin, 0,
                        {std::string(server.data()), std::string(user.data()),
                         std::string(password.data()), std::to_string(options)},
                        false))
    return s;
  FakeLoginAnswer answer;
  if (!loginAnswers.empty()) {
    answer = loginAnswers.front();
    loginAnswers.pop_front();
  }
  if (answer.status != 0) return answer.status;
  CopyOut(server, answer.server);
  CopyOut(user, answer.user);
  CopyOut(password, answer.password);
  CopyOut(application, "");
  CopyOut(database, "");
  access = answer.access;
  context = NewContext(instance);
  Succeeded(Operation::EsbAutoLogin);
  return 0;
}

int32_t FakeEssbaseApi::EsbLogin(Handle instance, const char* server, const char* user,
                                 const char* password, int16_t& count, Handle& context) {
  if (int32_t s =
          Enter(Operation::EsbLogin, 0, {Trim(Str(server)), Trim(Str(user)), Str(password)}, false))
    return s;
  count = static_cast<int16_t>(applications.size());
  context = NewContext(instance);
  Succeeded(Operation::EsbLogin);
  return 0;
}

int32_t FakeEssbaseApi::EsbLogout(Handle context) {
  if (int32_t s = Enter(Operation::EsbLogout, context, {std::to_string(context)})) return s;
  sessions_.erase(context);
  ended_.insert(context);
  Succeeded(Operation::EsbLogout);
  return 0;
}

int32_t FakeEssbaseApi::EsbListApplications(Handle context, int16_t& count) {
  if (int32_t s = Enter(Operation::EsbListApplications, context, {})) return s;
  Current().pending.clear();
  for (const auto& a : applications)
    Current().pending.push_back({ItemApplicationName, Fixed(a.name, ApplicationNameWidth)});
  count = static_cast<int16_t>(Current().pending.size());
  Succeeded(Operation::EsbListApplications);
  return 0;
}

int32_t FakeEssbaseApi::EsbListDatabases(Handle context, const char* application, int16_t& count) {
  if (int32_t s = Enter(Operation::EsbListDatabases, context, {Str(application)})) return s;
  FakeApplication* a = FindApplication(Str(application));
  if (!a) return ESB_STS_UNKNOWN_APPLICATION;
  Current().pending.clear();
  for (const auto& d : a->databases)
    Current().pending.push_back({ItemDatabaseName, Fixed(a->name, 8) + Fixed(d.name, 8)});
  count = static_cast<int16_t>(Current().pending.size());
  Succeeded(Operation::EsbListDatabases);
  return 0;
}

int32_t FakeEssbaseApi::EsbGetNextItem(Handle context, int16_t kind, std::span<char> buffer) {
  if (int32_t s = Enter(Operation::EsbGetNextItem, context,
                        {std::to_string(kind), std::to_string(buffer.size())}))
    return s;
  if (Current().pending.empty()) return ESB_STS_NO_ITEM_PENDING;
  if (Current().pending.front().kind != kind) return ESB_STS_BAD_ITEM_KIND;
  const std::string& bytes = Current().pending.front().bytes;
  if (buffer.size() < bytes.size()) return ESB_STS_BUFFER_TOO_SMALL;
  std::memcpy(buffer.data(), bytes.data(), bytes.size());
  Current().pending.pop_front();
  Succeeded(Operation::EsbGetNextItem);
  return 0;
}

int32_t FakeEssbaseApi::EsbGetApplicationInfo(Handle context, const char* application,
                                              std::span<uint8_t> record, int16_t& databases) {
  if (int32_t s = Enter(Operation::EsbGetApplicationInfo, context,
                        {Str(application), std::to_string(record.size())}))
    return s;
  FakeApplication* a = FindApplication(Str(application));
  if (!a) return ESB_STS_UNKNOWN_APPLICATION;
  const Generation g = v5_ ? Generation::V5 : Generation::V6;
  if (record.size() < AppInfoSize(g)) return ESB_STS_BUFFER_TOO_SMALL;
  if (auto raw = rawAppInfo.find(a->name); raw != rawAppInfo.end()) {
    std::copy_n(raw->second.begin(), std::min(raw->second.size(), record.size()), record.begin());
    databases = static_cast<int16_t>(a->databases.size());
    Succeeded(Operation::EsbGetApplicationInfo);
    return 0;
  }
  WriteAppInfo(record, g,
               {a->name, "fakesrv", a->loaded, 0, static_cast<uint16_t>(a->databases.size()), 0});
  databases = static_cast<int16_t>(a->databases.size());
  Succeeded(Operation::EsbGetApplicationInfo);
  return 0;
}

int32_t FakeEssbaseApi::EsbUnloadApplication(Handle context, const char* application) {
  if (int32_t s = Enter(Operation::EsbUnloadApplication, context, {Str(application)})) return s;
  FakeApplication* a = FindApplication(Str(application));
  if (!a) return ESB_STS_UNKNOWN_APPLICATION;
  a->loaded = false;
  Succeeded(Operation::EsbUnloadApplication);
  return 0;
}

int32_t FakeEssbaseApi::EsbSetActive(Handle context, const char* application, const char* database,
                                     int16_t& access) {
  if (int32_t s = Enter(Operation::EsbSetActive, context, {Str(application), Str(database)}))
    return s;
  if (!FindDatabase(Str(application), Str(database))) return ESB_STS_UNKNOWN_DATABASE;
  FindApplication(Str(application))->loaded = true;
  access = AccessWrite;
  Succeeded(Operation::EsbSetActive);
  return 0;
}

int32_t FakeEssbaseApi::EsbListFilters(Handle context, const char* application,
                                       const char* database, int16_t& count) {
  if (int32_t s = Enter(Operation::EsbListFilters, context, {Str(application), Str(database)}))
    return s;
  FakeDatabase* d = FindDatabase(Str(application), Str(database));
  if (!d) return ESB_STS_UNKNOWN_DATABASE;
  Current().pending.clear();
  for (const auto& f : d->filters)
    Current().pending.push_back({ItemFilterName, Fixed(f.name, FilterNameWidth)});
  count = static_cast<int16_t>(Current().pending.size());
  Succeeded(Operation::EsbListFilters);
  return 0;
}

int32_t FakeEssbaseApi::EsbGetFilter(Handle context, const char* application, const char* database,
                                     const char* filter, int16_t& active, int16_t& access) {
  if (int32_t s =
          Enter(Operation::EsbGetFilter, context, {Str(application), Str(database), Str(filter)}))
    return s;
  FakeFilter* f = FindFilter(Str(application), Str(database), Str(filter));
  if (!f) return ESB_STS_UNKNOWN_FILTER;
  active = f->active;
  access = f->access;
  Current().readRows = f->rows;
  Current().readPos = 0;
  Current().reading = true;
  Succeeded(Operation::EsbGetFilter);
  return 0;
}

int32_t FakeEssbaseApi::EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) {
  if (int32_t s = Enter(Operation::EsbGetFilterRow, context, {std::to_string(row.size())}))
    return s;
  if (!Current().reading) return ESB_STS_ROWS_NOT_OPEN;
  if (row.empty()) return ESB_STS_BUFFER_TOO_SMALL;
  if (Current().readPos >= Current().readRows.size()) {
    row[0] = '\0';
    Current().reading = false;
  } else {
    const FakeRow& r = Current().readRows[Current().readPos];
    if (r.text.size() >= row.size()) return ESB_STS_BUFFER_TOO_SMALL;
    CopyOut(row, r.text);
    access = r.access;
    ++Current().readPos;
  }
  Succeeded(Operation::EsbGetFilterRow);
  return 0;
}

int32_t FakeEssbaseApi::EsbSetFilter(Handle context, const char* application, const char* database,
                                     const char* filter, int16_t active, int16_t access) {
  if (int32_t s = Enter(Operation::EsbSetFilter, context,
                        {Str(application), Str(database), Str(filter), std::to_string(active),
                         std::to_string(access)}))
    return s;
  if (!FindDatabase(Str(application), Str(database))) return ESB_STS_UNKNOWN_DATABASE;
  Current().writing = true;
  Current().writeApp = Str(application);
  Current().writeDb = Str(database);
  Current().writeFilter = {Str(filter), active, access, {}};
  Succeeded(Operation::EsbSetFilter);
  return 0;
}

int32_t FakeEssbaseApi::EsbSetFilterRow(Handle context, const char* row, int16_t access) {
  if (int32_t s = Enter(Operation::EsbSetFilterRow, context, {Str(row), std::to_string(access)}))
    return s;
  if (row) {
    if (!Current().writing) return ESB_STS_ROWS_NOT_OPEN;
    Current().writeFilter.rows.push_back({access, row});
  } else if (Current().writing) {
    Current().writing = false;
    if (FakeFilter* f =
            FindFilter(Current().writeApp, Current().writeDb, Current().writeFilter.name))
      *f = Current().writeFilter;
    else
      FindDatabase(Current().writeApp, Current().writeDb)->filters.push_back(Current().writeFilter);
  }
  Succeeded(Operation::EsbSetFilterRow);
  return 0;
}

int32_t FakeEssbaseApi::EsbDeleteFilter(Handle context, const char* application,
                                        const char* database, const char* filter) {
  if (int32_t s = Enter(Operation::EsbDeleteFilter, context,
                        {Str(application), Str(database), Str(filter)}))
    return s;
  FakeDatabase* d = FindDatabase(Str(application), Str(database));
  if (!d) return ESB_STS_UNKNOWN_DATABASE;
  auto it = std::find_if(d->filters.begin(), d->filters.end(),
                         [&](const FakeFilter& f) { return f.name == Str(filter); });
  if (it == d->filters.end()) return ESB_STS_UNKNOWN_FILTER;
  d->filters.erase(it);
  Succeeded(Operation::EsbDeleteFilter);
  return 0;
}

bool FakeEssbaseApi::SetLoginPrompt(EsbSimLoginPrompt, void*) {
  promptRegistered = promptAvailable;
  return promptAvailable;
}

}  // namespace essbase::testing
