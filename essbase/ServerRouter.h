#pragma once
// The server interface the desktop program holds: a server given as an
// http:// or https:// URL goes to the REST backend, any other name to the
// client library, exactly as it did before there was a choice.
//   - The library's instances and contexts pass through unchanged; the REST
//     backend's carry RestTag, so every later call finds its backend.
//   - EsbInit initialises both and returns the library's status as ever; an
//     instance whose library failed still serves URLs, and refuses names
//     with that status at login.
//   - EsbAutoLogin: the host's prompt (registered here) is shown through the
//     library as before, with room for a URL (LoginPromptServerBuffer); a URL
//     answer is taken from the library's prompt and logged in over REST.
// QuorvelCL needs no router: its server is known before it initialises.
#include <map>

#include "essbase/library/EssbaseApi.h"

namespace essbase {

class ServerRouter final : public EssbaseApi {
 public:
  // Marks the REST backend's handles; a library hands out no such handle.
  static constexpr Handle RestTag = 0x40000000;

  ServerRouter(EssbaseApi& library, EssbaseApi& rest) : library_(library), rest_(rest) {}
  ~ServerRouter() override;
  ServerRouter(const ServerRouter&) = delete;
  ServerRouter& operator=(const ServerRouter&) = delete;

  int32_t EsbInit(const ApiInitRecord& record, Handle& instance) override;
  int32_t EsbTerm(Handle instance) override;
  // server: at least NameBuffer bytes; a URL answer needs ServerAnswerBuffer.
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
  // The host's prompt is called with a server buffer of ServerAnswerBuffer bytes.
  bool SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) override;
  size_t LoginPromptServerBuffer() const override;
  std::string FailureText(Handle context) override;

 private:
  struct Instance {
    Handle rest = 0;      // the REST backend's instance
    int32_t library = 0;  // the library's EsbInit status
  };
  struct Answer {
    bool pending = false;  // the host's prompt answered with a URL
    std::string server, user, password;
  };

  static bool IsRest(Handle h) { return (h & RestTag) != 0; }
  EssbaseApi& For(Handle context) { return IsRest(context) ? rest_ : library_; }
  // The handle as its backend knows it.
  static Handle Pass(Handle context) { return IsRest(context) ? context & ~RestTag : context; }
  // The library's side of the prompt: asks the host with room for a URL.
  static int32_t AskHost(void* self, char* server, char* user, char* password);
  int32_t LogInOverRest(Handle instance, const Answer& answer, std::span<char> server,
                        std::span<char> user, std::span<char> password, Handle& context);

  EssbaseApi& library_;
  EssbaseApi& rest_;
  std::map<Handle, Instance> instances_;
  Handle nextOwn_ = 1;  // instances of a router whose library failed
  EsbSimLoginPrompt hostPrompt_ = nullptr;
  void* hostData_ = nullptr;
  Answer answer_;
};

}  // namespace essbase
