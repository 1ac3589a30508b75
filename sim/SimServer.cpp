#include "sim/SimServer.h"

#include <cstdlib>
#include <cstring>

#include "essbase/library/ByteOrder.h"
#include "sim/LatinFields.h"
#include "sim/Utf8.h"

namespace esbsim {

using essbase::Generation;

namespace {

// Writes text NUL-terminated into a buffer of size bytes, cutting it if needed.
void PutText(char* buffer, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  std::memset(buffer + n, 0, size - n);
}

const char* EnvOr(const char* name, const std::string& fallback, std::string& keep) {
  const char* v = std::getenv(name);
  keep = v ? v : fallback;
  return keep.c_str();
}

std::string Utf8(const std::string& latin1) {
  std::string utf8;
  Latin1ToUtf8(latin1, utf8);
  return utf8;
}

}  // namespace

SimServer::SimServer() = default;
SimServer::~SimServer() = default;

Generation SimServer::generationOf(EsbHandle instance) const {
  return core_.generationOf(instance);
}

int32_t SimServer::Init(const void* record, EsbHandle* instance) {
  if (!record || !instance) return ESB_STS_NULL_ARGUMENT;
  const uint32_t version = essbase::GetU32(static_cast<const uint8_t*>(record));
  if (version != ESB_API_VERSION_6 && version != ESB_API_VERSION_5) return ESB_STS_BAD_VERSION;
  const Generation g = version == ESB_API_VERSION_5 ? Generation::V5 : Generation::V6;
  return core_.Init(g, Store::DefaultPath(), *instance);
}

int32_t SimServer::Term(EsbHandle instance) {
  return core_.Term(instance);
}

int32_t SimServer::Login(EsbHandle instance, const char* server, const char* user,
                         const char* password, int16_t* count, EsbHandle* context) {
  if (!server || !user || !password || !count || !context) return ESB_STS_NULL_ARGUMENT;
  const ServerLogin who{LoginField(server, ESB_NAME_BUFFER), LoginField(user, ESB_NAME_BUFFER),
                        LoginField(password, ESB_PASSWORD_BUFFER)};
  return core_.Login(instance, who, *count, *context);
}

int32_t SimServer::AutoLogin(EsbHandle instance, char* server, char* user, char* password,
                             char* application, char* database, int16_t /*options*/,
                             int16_t* access, EsbHandle* context) {
  if (!server || !user || !password || !application || !database || !access || !context)
    return ESB_STS_NULL_ARGUMENT;
  bool answered = false;
  std::string answerServer, answerUser, answerPassword;
  auto prompt = [&](std::string_view storeServer, ServerLogin& answer) -> int32_t {
    if (!prompt_) return ESB_STS_CANCELLED;
    // The prompt works on buffers of our own, so that whatever it does the
    // caller's buffers get a terminated text within their sizes.
    char s[ESB_NAME_BUFFER] = {}, u[ESB_NAME_BUFFER] = {}, p[ESB_PASSWORD_BUFFER] = {};
    std::string keep, held;
    std::string given = TrimmedField(server, ESB_NAME_BUFFER);
    // A server name the field cannot hold is not offered at all.
    if (given.empty() && FitsField(storeServer, ESB_NAME_WIDTH, held)) given = held;
    PutText(s, sizeof s, given);
    given = TrimmedField(user, ESB_NAME_BUFFER);
    PutText(u, sizeof u, given.empty() ? EnvOr("ESBSIM_PROMPT_USER", "", keep) : given);
    given = TrimmedField(password, ESB_PASSWORD_BUFFER);
    PutText(p, sizeof p, given.empty() ? EnvOr("ESBSIM_PROMPT_PASSWORD", "", keep) : given);
    if (prompt_(promptData_, s, u, p) != 0) return ESB_STS_CANCELLED;
    s[sizeof s - 1] = u[sizeof u - 1] = p[sizeof p - 1] = '\0';
    answered = true;
    answerServer = TrimmedField(s, sizeof s);
    answerUser = TrimmedField(u, sizeof u);
    answerPassword = TrimmedField(p, sizeof p);
    answer = {Utf8(answerServer), Utf8(answerUser), Utf8(answerPassword)};
    return 0;
  };
  const int32_t status = core_.AutoLogin(instance, prompt, *access, *context);
  if (answered && status != ESB_STS_BAD_INSTANCE) {
    PutText(server, ESB_NAME_BUFFER, answerServer);
    PutText(user, ESB_NAME_BUFFER, answerUser);
    PutText(password, ESB_PASSWORD_BUFFER, answerPassword);
    std::memset(application, 0, ESB_OBJNAME_BUFFER);
    std::memset(database, 0, ESB_OBJNAME_BUFFER);
  }
  return status;
}

int32_t SimServer::Logout(EsbHandle context) {
  return core_.Logout(context);
}

void SimServer::SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) {
  prompt_ = prompt;
  promptData_ = userData;
}

}  // namespace esbsim
