// A client library that serves no database: it knows one user, and answers
// every other call as a server with nothing on it would. It is built for
// Windows too, where the simulated server's library is not (it needs SQLite),
// to show that QuorvelCL finds, loads and calls the client library there as
// on Linux.
#include <cstring>

#include "essbase/library/esbapin.h"

namespace {

bool Is(const char* text, const char* expected) {
  return text && std::strcmp(text, expected) == 0;
}

}  // namespace

extern "C" {

ESB_API int32_t EsbInit(const void* record, EsbHandle* instance) {
  if (!record || !instance) return ESB_STS_NULL_ARGUMENT;
  *instance = 1;
  return ESB_STS_OK;
}
ESB_API int32_t EsbTerm(EsbHandle) {
  return ESB_STS_OK;
}
ESB_API int32_t EsbAutoLogin(EsbHandle, char*, char*, char*, char*, char*, int16_t, int16_t*,
                             EsbHandle*) {
  return ESB_STS_CANCELLED;
}
// Only "standin" with "secret" gets in, and then finds no application.
ESB_API int32_t EsbLogin(EsbHandle, const char* server, const char* user, const char* password,
                         int16_t* count, EsbHandle* context) {
  if (!Is(server, "standin")) return ESB_STS_UNKNOWN_SERVER;
  if (!Is(user, "standin") || !Is(password, "secret")) return ESB_STS_BAD_LOGIN;
  *count = 0;
  *context = 7;
  return ESB_STS_OK;
}
ESB_API int32_t EsbLogout(EsbHandle) {
  return ESB_STS_OK;
}
ESB_API int32_t EsbListApplications(EsbHandle, int16_t* count) {
  *count = 0;
  return ESB_STS_OK;
}
ESB_API int32_t EsbListDatabases(EsbHandle, const char*, int16_t*) {
  return ESB_STS_UNKNOWN_APPLICATION;
}
ESB_API int32_t EsbGetNextItem(EsbHandle, int16_t, char*) {
  return ESB_STS_NO_ITEM_PENDING;
}
ESB_API int32_t EsbGetApplicationInfo(EsbHandle, const char*, void*, int16_t*) {
  return ESB_STS_UNKNOWN_APPLICATION;
}
ESB_API int32_t EsbUnloadApplication(EsbHandle, const char*) {
  return ESB_STS_UNKNOWN_APPLICATION;
}
ESB_API int32_t EsbSetActive(EsbHandle, const char*, const char*, int16_t*) {
  return ESB_STS_UNKNOWN_APPLICATION;
}
ESB_API int32_t EsbListFilters(EsbHandle, const char*, const char*, int16_t*) {
  return ESB_STS_UNKNOWN_APPLICATION;
}
ESB_API int32_t EsbGetFilter(EsbHandle, const char*, const char*, const char*, int16_t*, int16_t*) {
  return ESB_STS_UNKNOWN_APPLICATION;
}
ESB_API int32_t EsbGetFilterRow(EsbHandle, char*, int32_t, int16_t*) {
  return ESB_STS_ROWS_NOT_OPEN;
}
ESB_API int32_t EsbSetFilter(EsbHandle, const char*, const char*, const char*, int16_t, int16_t) {
  return ESB_STS_UNKNOWN_APPLICATION;
}
ESB_API int32_t EsbSetFilterRow(EsbHandle, const char*, int16_t) {
  return ESB_STS_ROWS_NOT_OPEN;
}
ESB_API int32_t EsbDeleteFilter(EsbHandle, const char*, const char*, const char*) {
  return ESB_STS_UNKNOWN_APPLICATION;
}

}  // extern "C"
