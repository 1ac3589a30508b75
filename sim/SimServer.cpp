#include "sim/SimServer.h"

#include <cstring>

#include "essbase/library/ByteOrder.h"
#include "sim/Names.h"

namespace esbsim {

using essbase::Generation;

namespace {

std::string Trimmed(const char* text, size_t max) {
  return std::string(TrimTrailingBlanks(std::string_view(text, strnlen(text, max))));
}

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

}  // namespace

SimServer::SimServer() = default;
SimServer::~SimServer() = default;

Generation SimServer::generationOf(EsbHandle instance) const {
  auto it = instances_.find(instance);
  return it == instances_.end() ? Generation::V6 : it->second->generation;
}

SimServer::Call SimServer::EnterInstance(EsbHandle instance, Operation op) {
  Call call;
  auto it = instances_.find(instance);
  if (it == instances_.end()) {
    call.status = ESB_STS_BAD_INSTANCE;
    return call;
  }
  call.instance = it->second.get();
  call.status = call.instance->faults.fire(call.instance->store, op);
  return call;
}

SimServer::Call SimServer::Enter(EsbHandle context, Operation op, bool refresh) {
  Call call;
  auto it = contexts_.find(context);
  if (it == contexts_.end()) {
    call.status = ESB_STS_BAD_CONTEXT;
    return call;
  }
  Context& c = it->second;
  if (c.ended) {
    call.status = ESB_STS_RELOGIN;
    return call;
  }
  call.context = &c;
  call.instance = instances_.at(c.instance).get();
  call.status = call.instance->faults.fire(call.instance->store, op, refresh);
  if (call.status == ESB_STS_RELOGIN) {
    // The server dropped the session: whatever was open on it is gone.
    Forget(c);
    c.ended = true;
  }
  return call;
}

int32_t SimServer::Leave(const Call& call, Operation op, int32_t status) {
  if (status == 0 && call.instance) call.instance->faults.succeeded(op);
  return status;
}

void SimServer::Forget(Context& c) {
  c.items.clear();
  c.itemKind = 0;
  c.reading = false;
  c.readRows.clear();
  c.readCount = 0;
  c.writing = false;
  c.writeRows.clear();
  c.writeCount = 0;
}

int32_t SimServer::Init(const void* record, EsbHandle* instance) {
  if (!record || !instance) return ESB_STS_NULL_ARGUMENT;
  const uint32_t version = essbase::GetU32(static_cast<const uint8_t*>(record));
  if (version != ESB_API_VERSION_6 && version != ESB_API_VERSION_5) return ESB_STS_BAD_VERSION;
  auto in = std::make_unique<Instance>();
  in->generation = version == ESB_API_VERSION_5 ? Generation::V5 : Generation::V6;
  if (in->store.open(Store::DefaultPath(), true) != 0) return ESB_STS_STORE_FAILURE;
  in->faults.setSuccesses(Operation::EsbInit, initSuccesses_);
  if (int32_t status = in->faults.fire(in->store, Operation::EsbInit)) return status;
  ++initSuccesses_;
  in->faults.setSuccesses(Operation::EsbInit, 1);
  const EsbHandle handle = nextHandle_++;
  instances_[handle] = std::move(in);
  *instance = handle;
  return 0;
}

int32_t SimServer::Term(EsbHandle instance) {
  Call call = EnterInstance(instance, Operation::EsbTerm);
  if (call.status) return call.status;
  for (auto it = contexts_.begin(); it != contexts_.end();)
    it = it->second.instance == instance ? contexts_.erase(it) : std::next(it);
  instances_.erase(instance);
  return 0;
}

int32_t SimServer::CheckLogin(Instance& in, const std::string& server, const std::string& user,
                              const std::string& password, int16_t& access) {
  std::string name;
  if (int32_t status = in.store.serverName(name)) return status;
  if (server != name) return ESB_STS_UNKNOWN_SERVER;
  return in.store.checkUser(user, password, access);
}

EsbHandle SimServer::NewContext(EsbHandle instance, int16_t access) {
  const EsbHandle handle = nextHandle_++;
  Context& c = contexts_[handle];
  c.instance = instance;
  c.access = access;
  return handle;
}

int32_t SimServer::Login(EsbHandle instance, const char* server, const char* user,
                         const char* password, int16_t* count, EsbHandle* context) {
  if (!server || !user || !password || !count || !context) return ESB_STS_NULL_ARGUMENT;
  Call call = EnterInstance(instance, Operation::EsbLogin);
  if (call.status) return call.status;
  int16_t access = 0;
  int32_t status =
      CheckLogin(*call.instance, Trimmed(server, ESB_NAME_BUFFER), Trimmed(user, ESB_NAME_BUFFER),
                 Trimmed(password, ESB_PASSWORD_BUFFER), access);
  if (status == 0) status = call.instance->store.countApplications(*count);
  if (status == 0) *context = NewContext(instance, access);
  return Leave(call, Operation::EsbLogin, status);
}

int32_t SimServer::AutoLogin(EsbHandle instance, char* server, char* user, char* password,
                             char* application, char* database, int16_t /*options*/,
                             int16_t* access, EsbHandle* context) {
  if (!server || !user || !password || !application || !database || !access || !context)
    return ESB_STS_NULL_ARGUMENT;
  Call call = EnterInstance(instance, Operation::EsbAutoLogin);
  if (call.status) return call.status;
  if (!prompt_) return ESB_STS_CANCELLED;

  // The prompt works on buffers of our own, so that whatever it does the
  // caller's buffers get a terminated text within their sizes.
  char s[ESB_NAME_BUFFER] = {}, u[ESB_NAME_BUFFER] = {}, p[ESB_PASSWORD_BUFFER] = {};
  std::string keep, storeServer;
  std::string given = Trimmed(server, ESB_NAME_BUFFER);
  if (given.empty() && call.instance->store.serverName(storeServer) == 0) given = storeServer;
  PutText(s, sizeof s, given);
  given = Trimmed(user, ESB_NAME_BUFFER);
  PutText(u, sizeof u, given.empty() ? EnvOr("ESBSIM_PROMPT_USER", "", keep) : given);
  given = Trimmed(password, ESB_PASSWORD_BUFFER);
  PutText(p, sizeof p, given.empty() ? EnvOr("ESBSIM_PROMPT_PASSWORD", "", keep) : given);

  if (prompt_(promptData_, s, u, p) != 0) return ESB_STS_CANCELLED;
  s[sizeof s - 1] = u[sizeof u - 1] = p[sizeof p - 1] = '\0';
  // The prompt may have called the library: look the instance up again.
  auto it = instances_.find(instance);
  if (it == instances_.end()) return ESB_STS_BAD_INSTANCE;
  call.instance = it->second.get();

  int16_t userAccess = 0;
  const std::string answerServer = Trimmed(s, sizeof s), answerUser = Trimmed(u, sizeof u),
                    answerPassword = Trimmed(p, sizeof p);
  int32_t status = CheckLogin(*call.instance, answerServer, answerUser, answerPassword, userAccess);
  PutText(server, ESB_NAME_BUFFER, answerServer);
  PutText(user, ESB_NAME_BUFFER, answerUser);
  PutText(password, ESB_PASSWORD_BUFFER, answerPassword);
  std::memset(application, 0, ESB_OBJNAME_BUFFER);
  std::memset(database, 0, ESB_OBJNAME_BUFFER);
  if (status == 0) {
    *access = userAccess;
    *context = NewContext(instance, userAccess);
  }
  return Leave(call, Operation::EsbAutoLogin, status);
}

int32_t SimServer::Logout(EsbHandle context) {
  Call call = Enter(context, Operation::EsbLogout);
  if (call.status) return call.status;
  Leave(call, Operation::EsbLogout, 0);
  contexts_.erase(context);
  return 0;
}

void SimServer::SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) {
  prompt_ = prompt;
  promptData_ = userData;
}

}  // namespace esbsim
