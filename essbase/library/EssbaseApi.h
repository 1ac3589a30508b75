#pragma once
// The replaceable interface through which the programs reach the server: one
// virtual per operation of the client library, in the library's argument
// order. Output buffers are spans so that an implementation can refuse a
// buffer smaller than the operation's documented size instead of writing past
// it (sizes in esbapin.h).
#include <cstdint>
#include <span>
#include <string>

#include "essbase/Constants.h"
#include "essbase/library/ApiInitRecord.h"

namespace essbase {

class EssbaseApi {
 public:
  virtual ~EssbaseApi() = default;

  virtual int32_t EsbInit(const ApiInitRecord& record, Handle& instance) = 0;
  virtual int32_t EsbTerm(Handle instance) = 0;
  // server, user: NameBuffer bytes; password: PasswordBuffer bytes;
  // application, database: ObjectNameBuffer bytes.
  virtual int32_t EsbAutoLogin(Handle instance, std::span<char> server, std::span<char> user,
                               std::span<char> password, std::span<char> application,
                               std::span<char> database, int16_t options, int16_t& access,
                               Handle& context) = 0;
  virtual int32_t EsbLogin(Handle instance, const char* server, const char* user,
                           const char* password, int16_t& count, Handle& context) = 0;
  virtual int32_t EsbLogout(Handle context) = 0;
  virtual int32_t EsbListApplications(Handle context, int16_t& count) = 0;
  virtual int32_t EsbListDatabases(Handle context, const char* application, int16_t& count) = 0;
  // buffer: at least ItemWidth(kind) bytes.
  virtual int32_t EsbGetNextItem(Handle context, int16_t kind, std::span<char> buffer) = 0;
  // record: AppInfoSize(generation) bytes for the generation given to EsbInit.
  virtual int32_t EsbGetApplicationInfo(Handle context, const char* application,
                                        std::span<uint8_t> record, int16_t& databases) = 0;
  virtual int32_t EsbUnloadApplication(Handle context, const char* application) = 0;
  virtual int32_t EsbSetActive(Handle context, const char* application, const char* database,
                               int16_t& access) = 0;
  virtual int32_t EsbListFilters(Handle context, const char* application, const char* database,
                                 int16_t& count) = 0;
  virtual int32_t EsbGetFilter(Handle context, const char* application, const char* database,
                               const char* filter, int16_t& active, int16_t& access) = 0;
  // The row buffer's length is row.size().
  virtual int32_t EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) = 0;
  virtual int32_t EsbSetFilter(Handle context, const char* application, const char* database,
                               const char* filter, int16_t active, int16_t access) = 0;
  // row == nullptr closes the definition.
  virtual int32_t EsbSetFilterRow(Handle context, const char* row, int16_t access) = 0;
  virtual int32_t EsbDeleteFilter(Handle context, const char* application, const char* database,
                                  const char* filter) = 0;

  // Registers the host's login prompt with a simulated server; false when the
  // library offers no such hook (a real client library shows its own prompt).
  virtual bool SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) = 0;

  // What the server said about the last failed call on a context (or, for a
  // failed login, on the instance): the HTTP status and the server's own
  // message where there is one. Never holds a password. Empty when the
  // implementation has nothing to add to the status.
  virtual std::string FailureText(Handle /*context*/) { return {}; }
  // The size of the server buffer the prompt given to SetLoginPrompt
  // receives: the library's own, or room for a URL where the host's answer
  // may name a REST API (ServerRouter).
  virtual size_t LoginPromptServerBuffer() const { return NameBuffer; }
};

}  // namespace essbase
