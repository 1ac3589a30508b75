#include "sim/SimApi.h"

#include "essbase/library/AppInfoRecord.h"
#include "essbase/library/BufferChecks.h"

namespace esbsim {

int32_t SimApi::EsbInit(const essbase::ApiInitRecord& record, Handle& instance) {
  return server_.Init(record.data(), &instance);
}

int32_t SimApi::EsbTerm(Handle instance) {
  return server_.Term(instance);
}

int32_t SimApi::EsbAutoLogin(Handle instance, std::span<char> server, std::span<char> user,
                             std::span<char> password, std::span<char> application,
                             std::span<char> database, int16_t options, int16_t& access,
                             Handle& context) {
  if (int32_t status =
          essbase::CheckAutoLoginBuffers(server, user, password, application, database))
    return status;
  int32_t status =
      server_.AutoLogin(instance, server.data(), user.data(), password.data(), application.data(),
                        database.data(), options, &access, &context);
  if (status == 0) owner_[context] = instance;
  return status;
}

int32_t SimApi::EsbLogin(Handle instance, const char* server, const char* user,
                         const char* password, int16_t& count, Handle& context) {
  int32_t status = server_.Login(instance, server, user, password, &count, &context);
  if (status == 0) owner_[context] = instance;
  return status;
}

int32_t SimApi::EsbLogout(Handle context) {
  return server_.Logout(context);
}

int32_t SimApi::EsbListApplications(Handle context, int16_t& count) {
  return server_.ListApplications(context, &count);
}

int32_t SimApi::EsbListDatabases(Handle context, const char* application, int16_t& count) {
  return server_.ListDatabases(context, application, &count);
}

int32_t SimApi::EsbGetNextItem(Handle context, int16_t kind, std::span<char> buffer) {
  if (int32_t status = essbase::CheckItemBuffer(kind, buffer)) return status;
  return server_.GetNextItem(context, kind, buffer.data());
}

int32_t SimApi::EsbGetApplicationInfo(Handle context, const char* application,
                                      std::span<uint8_t> record, int16_t& databases) {
  auto it = owner_.find(context);
  const auto g = server_.generationOf(it == owner_.end() ? 0 : it->second);
  if (record.size() < essbase::AppInfoSize(g)) return ESB_STS_BUFFER_TOO_SMALL;
  return server_.GetApplicationInfo(context, application, record.data(), &databases);
}

int32_t SimApi::EsbUnloadApplication(Handle context, const char* application) {
  return server_.UnloadApplication(context, application);
}

int32_t SimApi::EsbSetActive(Handle context, const char* application, const char* database,
                             int16_t& access) {
  return server_.SetActive(context, application, database, &access);
}

int32_t SimApi::EsbListFilters(Handle context, const char* application, const char* database,
                               int16_t& count) {
  return server_.ListFilters(context, application, database, &count);
}

int32_t SimApi::EsbGetFilter(Handle context, const char* application, const char* database,
                             const char* filter, int16_t& active, int16_t& access) {
  return server_.GetFilter(context, application, database, filter, &active, &access);
}

int32_t SimApi::EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) {
  if (row.empty()) return ESB_STS_BUFFER_TOO_SMALL;
  return server_.GetFilterRow(context, row.data(), essbase::RowBufferLength(row), &access);
}

int32_t SimApi::EsbSetFilter(Handle context, const char* application, const char* database,
                             const char* filter, int16_t active, int16_t access) {
  return server_.SetFilter(context, application, database, filter, active, access);
}

int32_t SimApi::EsbSetFilterRow(Handle context, const char* row, int16_t access) {
  return server_.SetFilterRow(context, row, access);
}

int32_t SimApi::EsbDeleteFilter(Handle context, const char* application, const char* database,
                                const char* filter) {
  return server_.DeleteFilter(context, application, database, filter);
}

bool SimApi::SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) {
  server_.SetLoginPrompt(prompt, userData);
  return true;
}

}  // namespace esbsim
