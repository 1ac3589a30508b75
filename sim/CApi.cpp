// The exported C entry points of libesbapin.so: one process-wide simulated
// server, one call at a time. The lock is recursive because a login prompt
// may call back into the library while EsbAutoLogin waits for it.
#include <mutex>

#include "essbase/library/esbapin.h"
#include "sim/SimServer.h"

namespace {

std::recursive_mutex& Lock() {
  static std::recursive_mutex lock;
  return lock;
}

esbsim::SimServer& Server() {
  // Never destroyed: other libraries' destructors may still call in at exit.
  static auto* server = new esbsim::SimServer;
  return *server;
}

}  // namespace

#define ESB_SERVER                                     \
  std::lock_guard<std::recursive_mutex> guard(Lock()); \
  return Server()

extern "C" {

ESB_API int32_t EsbInit(const void* record, EsbHandle* instance) {
  ESB_SERVER.Init(record, instance);
}
ESB_API int32_t EsbTerm(EsbHandle instance) {
  ESB_SERVER.Term(instance);
}
ESB_API int32_t EsbAutoLogin(EsbHandle instance, char* server, char* user, char* password,
                             char* application, char* database, int16_t options, int16_t* access,
                             EsbHandle* context) {
  ESB_SERVER.AutoLogin(instance, server, user, password, application, database, options, access,
                       context);
}
ESB_API int32_t EsbLogin(EsbHandle instance, const char* server, const char* user,
                         const char* password, int16_t* count, EsbHandle* context) {
  ESB_SERVER.Login(instance, server, user, password, count, context);
}
ESB_API int32_t EsbLogout(EsbHandle context) {
  ESB_SERVER.Logout(context);
}
ESB_API int32_t EsbListApplications(EsbHandle context, int16_t* count) {
  ESB_SERVER.ListApplications(context, count);
}
ESB_API int32_t EsbListDatabases(EsbHandle context, const char* application, int16_t* count) {
  ESB_SERVER.ListDatabases(context, application, count);
}
ESB_API int32_t EsbGetNextItem(EsbHandle context, int16_t kind, char* buffer) {
  ESB_SERVER.GetNextItem(context, kind, buffer);
}
ESB_API int32_t EsbGetApplicationInfo(EsbHandle context, const char* application, void* record,
                                      int16_t* databases) {
  ESB_SERVER.GetApplicationInfo(context, application, record, databases);
}
ESB_API int32_t EsbUnloadApplication(EsbHandle context, const char* application) {
  ESB_SERVER.UnloadApplication(context, application);
}
ESB_API int32_t EsbSetActive(EsbHandle context, const char* application, const char* database,
                             int16_t* access) {
  ESB_SERVER.SetActive(context, application, database, access);
}
ESB_API int32_t EsbListFilters(EsbHandle context, const char* application, const char* database,
                               int16_t* count) {
  ESB_SERVER.ListFilters(context, application, database, count);
}
ESB_API int32_t EsbGetFilter(EsbHandle context, const char* application, const char* database,
                             const char* filter, int16_t* active, int16_t* access) {
  ESB_SERVER.GetFilter(context, application, database, filter, active, access);
}
ESB_API int32_t EsbGetFilterRow(EsbHandle context, char* row, int32_t length, int16_t* access) {
  ESB_SERVER.GetFilterRow(context, row, length, access);
}
ESB_API int32_t EsbSetFilter(EsbHandle context, const char* application, const char* database,
                             const char* filter, int16_t active, int16_t access) {
  ESB_SERVER.SetFilter(context, application, database, filter, active, access);
}
ESB_API int32_t EsbSetFilterRow(EsbHandle context, const char* row, int16_t access) {
  ESB_SERVER.SetFilterRow(context, row, access);
}
ESB_API int32_t EsbDeleteFilter(EsbHandle context, const char* application, const char* database,
                                const char* filter) {
  ESB_SERVER.DeleteFilter(context, application, database, filter);
}
ESB_API void EsbSimSetLoginPrompt(EsbSimLoginPrompt prompt, void* user_data) {
  ESB_SERVER.SetLoginPrompt(prompt, user_data);
}

}  // extern "C"
