#include "essbase/library/LibraryApi.h"

#include <algorithm>
#include <optional>
#include <string>

#include "essbase/library/AppInfoRecord.h"
#include "essbase/library/BufferChecks.h"
#include "essbase/library/Operation.h"
#include "platform/Library.h"
#include "platform/ProgramFolder.h"

namespace essbase {

struct LibraryApi::Table {
  std::optional<platform::Library> library;
  std::string error;
  decltype(&::EsbInit) init = nullptr;
  decltype(&::EsbTerm) term = nullptr;
  decltype(&::EsbAutoLogin) autoLogin = nullptr;
  decltype(&::EsbLogin) login = nullptr;
  decltype(&::EsbLogout) logout = nullptr;
  decltype(&::EsbListApplications) listApplications = nullptr;
  decltype(&::EsbListDatabases) listDatabases = nullptr;
  decltype(&::EsbGetNextItem) getNextItem = nullptr;
  decltype(&::EsbGetApplicationInfo) getApplicationInfo = nullptr;
  decltype(&::EsbUnloadApplication) unloadApplication = nullptr;
  decltype(&::EsbSetActive) setActive = nullptr;
  decltype(&::EsbListFilters) listFilters = nullptr;
  decltype(&::EsbGetFilter) getFilter = nullptr;
  decltype(&::EsbGetFilterRow) getFilterRow = nullptr;
  decltype(&::EsbSetFilter) setFilter = nullptr;
  decltype(&::EsbSetFilterRow) setFilterRow = nullptr;
  decltype(&::EsbDeleteFilter) deleteFilter = nullptr;
  decltype(&::EsbSimSetLoginPrompt) setLoginPrompt = nullptr;  // optional
  bool complete = false;

  template <typename F>
  bool resolve(F& slot, Operation op) {
    const std::string name(OperationName(op));
    slot = reinterpret_cast<F>(library->Symbol(name));
    if (!slot && error.empty()) error = "symbol " + name + " not found";
    return slot != nullptr;
  }
};

LibraryApi::LibraryApi(std::string libraryName) : table_(std::make_unique<Table>()) {
  Table& t = *table_;
  t.library.emplace(libraryName);
  if (!t.library->loaded() && libraryName.find('/') == std::string::npos) {
    // A bare name may miss the RPATH (sanitizer builds): try beside the program.
    std::string beside = platform::BesideProgram(libraryName);
    if (!beside.empty()) t.library.emplace(beside);
  }
  if (!t.library->loaded()) {
    t.error = t.library->error();
    return;
  }
  bool ok = true;
  ok &= t.resolve(t.init, Operation::EsbInit);
  ok &= t.resolve(t.term, Operation::EsbTerm);
  ok &= t.resolve(t.autoLogin, Operation::EsbAutoLogin);
  ok &= t.resolve(t.login, Operation::EsbLogin);
  ok &= t.resolve(t.logout, Operation::EsbLogout);
  ok &= t.resolve(t.listApplications, Operation::EsbListApplications);
  ok &= t.resolve(t.listDatabases, Operation::EsbListDatabases);
  ok &= t.resolve(t.getNextItem, Operation::EsbGetNextItem);
  ok &= t.resolve(t.getApplicationInfo, Operation::EsbGetApplicationInfo);
  ok &= t.resolve(t.unloadApplication, Operation::EsbUnloadApplication);
  ok &= t.resolve(t.setActive, Operation::EsbSetActive);
  ok &= t.resolve(t.listFilters, Operation::EsbListFilters);
  ok &= t.resolve(t.getFilter, Operation::EsbGetFilter);
  ok &= t.resolve(t.getFilterRow, Operation::EsbGetFilterRow);
  ok &= t.resolve(t.setFilter, Operation::EsbSetFilter);
  ok &= t.resolve(t.setFilterRow, Operation::EsbSetFilterRow);
  ok &= t.resolve(t.deleteFilter, Operation::EsbDeleteFilter);
  t.setLoginPrompt =
      reinterpret_cast<decltype(t.setLoginPrompt)>(t.library->Symbol("EsbSimSetLoginPrompt"));
  t.complete = ok;
}

LibraryApi::~LibraryApi() {
  // The library stays mapped: a prompt or a context may still refer to it.
}

bool LibraryApi::loaded() const {
  return table_->complete;
}
const std::string& LibraryApi::loadError() const {
  return table_->error;
}

#define ESB_REQUIRE() \
  if (!table_->complete) return ESB_STS_LIBRARY_UNAVAILABLE

int32_t LibraryApi::EsbInit(const ApiInitRecord& record, Handle& instance) {
  ESB_REQUIRE();
  int32_t status = table_->init(record.data(), &instance);
  if (status == 0) {
    // Which instance a context belongs to is not known here: with instances
    // of both generations the larger record is asked for, never the last one's.
    const auto size = static_cast<int16_t>(
        AppInfoSize(record.version() == ESB_API_VERSION_5 ? Generation::V5 : Generation::V6));
    infoSize_ = std::max(infoSize_, size);
  }
  return status;
}

int32_t LibraryApi::EsbTerm(Handle instance) {
  ESB_REQUIRE();
  return table_->term(instance);
}

int32_t LibraryApi::EsbAutoLogin(Handle instance, std::span<char> server, std::span<char> user,
                                 std::span<char> password, std::span<char> application,
                                 std::span<char> database, int16_t options, int16_t& access,
                                 Handle& context) {
  ESB_REQUIRE();
  if (int32_t status = CheckAutoLoginBuffers(server, user, password, application, database))
    return status;
  return table_->autoLogin(instance, server.data(), user.data(), password.data(),
                           application.data(), database.data(), options, &access, &context);
}

int32_t LibraryApi::EsbLogin(Handle instance, const char* server, const char* user,
                             const char* password, int16_t& count, Handle& context) {
  ESB_REQUIRE();
  return table_->login(instance, server, user, password, &count, &context);
}

int32_t LibraryApi::EsbLogout(Handle context) {
  ESB_REQUIRE();
  return table_->logout(context);
}

int32_t LibraryApi::EsbListApplications(Handle context, int16_t& count) {
  ESB_REQUIRE();
  return table_->listApplications(context, &count);
}

int32_t LibraryApi::EsbListDatabases(Handle context, const char* application, int16_t& count) {
  ESB_REQUIRE();
  return table_->listDatabases(context, application, &count);
}

int32_t LibraryApi::EsbGetNextItem(Handle context, int16_t kind, std::span<char> buffer) {
  ESB_REQUIRE();
  if (int32_t status = CheckItemBuffer(kind, buffer)) return status;
  return table_->getNextItem(context, kind, buffer.data());
}

int32_t LibraryApi::EsbGetApplicationInfo(Handle context, const char* application,
                                          std::span<uint8_t> record, int16_t& databases) {
  ESB_REQUIRE();
  if (infoSize_ == 0) return ESB_STS_BAD_INSTANCE;
  if (record.size() < static_cast<size_t>(infoSize_)) return ESB_STS_BUFFER_TOO_SMALL;
  return table_->getApplicationInfo(context, application, record.data(), &databases);
}

int32_t LibraryApi::EsbUnloadApplication(Handle context, const char* application) {
  ESB_REQUIRE();
  return table_->unloadApplication(context, application);
}

int32_t LibraryApi::EsbSetActive(Handle context, const char* application, const char* database,
                                 int16_t& access) {
  ESB_REQUIRE();
  return table_->setActive(context, application, database, &access);
}

int32_t LibraryApi::EsbListFilters(Handle context, const char* application, const char* database,
                                   int16_t& count) {
  ESB_REQUIRE();
  return table_->listFilters(context, application, database, &count);
}

int32_t LibraryApi::EsbGetFilter(Handle context, const char* application, const char* database,
                                 const char* filter, int16_t& active, int16_t& access) {
  ESB_REQUIRE();
  return table_->getFilter(context, application, database, filter, &active, &access);
}

int32_t LibraryApi::EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) {
  ESB_REQUIRE();
  if (row.empty()) return ESB_STS_BUFFER_TOO_SMALL;
  return table_->getFilterRow(context, row.data(), RowBufferLength(row), &access);
}

int32_t LibraryApi::EsbSetFilter(Handle context, const char* application, const char* database,
                                 const char* filter, int16_t active, int16_t access) {
  ESB_REQUIRE();
  return table_->setFilter(context, application, database, filter, active, access);
}

int32_t LibraryApi::EsbSetFilterRow(Handle context, const char* row, int16_t access) {
  ESB_REQUIRE();
  return table_->setFilterRow(context, row, access);
}

int32_t LibraryApi::EsbDeleteFilter(Handle context, const char* application, const char* database,
                                    const char* filter) {
  ESB_REQUIRE();
  return table_->deleteFilter(context, application, database, filter);
}

bool LibraryApi::SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) {
  if (!table_->setLoginPrompt) return false;
  table_->setLoginPrompt(prompt, userData);
  return true;
}

}  // namespace essbase
