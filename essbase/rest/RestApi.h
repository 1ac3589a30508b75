#pragma once
// EssbaseApi over the documented Essbase REST API: the same call semantics as
// the simulated server behind the C ABI, so every engine runs unchanged.
//   - EsbLogin's server is the address a user opens in a browser
//     ("https://host:9001/essbase"); the login asks for the session (one
//     request) and reports 0 applications, since that request counts none.
//   - Listing a database's filters reads every listed filter's rows ahead,
//     several requests at once; EsbGetFilter serves them from there.
//   - A filter definition is held here and sent whole at its closing call:
//     a filter is written whole or not at all.
//   - A filter has no active flag or access of its own over REST: EsbGetFilter
//     reports 1 and 375, and EsbSetFilter's are dropped.
//   - EsbSetActive starts the database (which starts its application) and
//     reports access 0: the API tells no access code of the user.
// Thread-compatible: one thread per instance of the class.
#include <map>
#include <memory>
#include <string>

#include "essbase/library/EssbaseApi.h"
#include "essbase/Generation.h"

namespace essbase::rest {

class RestSession;
struct Outcome;

class RestApi final : public EssbaseApi {
 public:
  RestApi();
  ~RestApi() override;
  RestApi(const RestApi&) = delete;
  RestApi& operator=(const RestApi&) = delete;

  int32_t EsbInit(const ApiInitRecord& record, Handle& instance) override;
  int32_t EsbTerm(Handle instance) override;
  int32_t EsbAutoLogin(Handle instance, std::span<char> server, std::span<char> user,
                       std::span<char> password, std::span<char> application,
                       std::span<char> database, int16_t options, int16_t& access,
                       Handle& context) override;
  int32_t EsbLogin(Handle instance, const char* server, const char* user, const char* password,
                   int16_t& count, Handle& context) override;
  int32_t EsbLogout(Handle context) override;
  int32_t EsbListApplications(Handle context, int16_t& count) override;
  int32_t EsbListDatabases(Handle context, const char* application, int16_t& count) override;
  int32_t EsbGetNextItem(Handle context, int16_t kind, std::span<char> buffer) override;
  int32_t EsbGetApplicationInfo(Handle context, const char* application, std::span<uint8_t> record,
                                int16_t& databases) override;
  int32_t EsbUnloadApplication(Handle context, const char* application) override;
  int32_t EsbSetActive(Handle context, const char* application, const char* database,
                       int16_t& access) override;
  int32_t EsbListFilters(Handle context, const char* application, const char* database,
                         int16_t& count) override;
  int32_t EsbGetFilter(Handle context, const char* application, const char* database,
                       const char* filter, int16_t& active, int16_t& access) override;
  int32_t EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) override;
  int32_t EsbSetFilter(Handle context, const char* application, const char* database,
                       const char* filter, int16_t active, int16_t access) override;
  int32_t EsbSetFilterRow(Handle context, const char* row, int16_t access) override;
  int32_t EsbDeleteFilter(Handle context, const char* application, const char* database,
                          const char* filter) override;
  // No prompt here: the host shows its own and calls EsbLogin.
  bool SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) override;
  std::string FailureText(Handle context) override;

 private:
  // The session of a live context: BAD_CONTEXT when there is none, RELOGIN
  // once the server ended it.
  int32_t Enter(Handle context, RestSession*& session);
  // Keeps the failure's text; a RELOGIN ends the session.
  int32_t Fail(RestSession& session, const Outcome& outcome);
  // One request; body gets the answer of a successful one.
  int32_t Call(RestSession& session, const std::string& method, const std::string& url,
               std::string& body, const std::string& payload = {});
  int32_t SendDefinition(RestSession& session);

  std::map<Handle, Generation> instances_;
  std::map<Handle, std::unique_ptr<RestSession>> sessions_;
  std::map<Handle, std::string> loginFailures_;  // per instance
  Handle next_ = 0x100;
};

}  // namespace essbase::rest
