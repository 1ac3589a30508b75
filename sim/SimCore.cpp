// Instances, login contexts and the calls' fault lines.
#include "sim/SimCore.h"

namespace esbsim {

using essbase::Generation;

SimCore::SimCore() = default;
SimCore::~SimCore() = default;

Generation SimCore::generationOf(EsbHandle instance) const {
  auto it = instances_.find(instance);
  return it == instances_.end() ? Generation::V6 : it->second->generation;
}

SimCore::Call SimCore::EnterInstance(EsbHandle instance, Operation op) {
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

SimCore::Call SimCore::Enter(EsbHandle context, Operation op, bool refresh) {
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

int32_t SimCore::Leave(const Call& call, Operation op, int32_t status) {
  if (status == 0 && call.instance) call.instance->faults.succeeded(op);
  return status;
}

void SimCore::Forget(Context& c) {
  c.items.clear();
  c.itemKind = 0;
  c.reading = false;
  c.readRows.clear();
  c.readCount = 0;
  c.writing = false;
  c.writeRows.clear();
  c.writeCount = 0;
}

int32_t SimCore::Init(Generation generation, const std::string& storePath, EsbHandle& instance) {
  auto in = std::make_unique<Instance>();
  in->generation = generation;
  if (in->store.open(storePath, true) != 0) return ESB_STS_STORE_FAILURE;
  in->faults.setSuccesses(Operation::EsbInit, initSuccesses_);
  if (int32_t status = in->faults.fire(in->store, Operation::EsbInit)) return status;
  ++initSuccesses_;
  in->faults.setSuccesses(Operation::EsbInit, 1);
  const EsbHandle handle = nextHandle_++;
  instances_[handle] = std::move(in);
  instance = handle;
  return 0;
}

int32_t SimCore::Term(EsbHandle instance) {
  Call call = EnterInstance(instance, Operation::EsbTerm);
  if (call.status) return call.status;
  for (auto it = contexts_.begin(); it != contexts_.end();)
    it = it->second.instance == instance ? contexts_.erase(it) : std::next(it);
  instances_.erase(instance);
  return 0;
}

int32_t SimCore::CheckLogin(Instance& in, const ServerLogin& who, int16_t& access) {
  std::string name;
  if (int32_t status = in.store.serverName(name)) return status;
  if (who.server != name) return ESB_STS_UNKNOWN_SERVER;
  return in.store.checkUser(who.user, who.password, access);
}

EsbHandle SimCore::NewContext(EsbHandle instance, int16_t access) {
  const EsbHandle handle = nextHandle_++;
  Context& c = contexts_[handle];
  c.instance = instance;
  c.access = access;
  return handle;
}

int32_t SimCore::Login(EsbHandle instance, const ServerLogin& who, int16_t& count,
                       EsbHandle& context) {
  Call call = EnterInstance(instance, Operation::EsbLogin);
  if (call.status) return call.status;
  int16_t access = 0;
  int32_t status = CheckLogin(*call.instance, who, access);
  if (status == 0) status = call.instance->store.countApplications(count);
  if (status == 0) context = NewContext(instance, access);
  return Leave(call, Operation::EsbLogin, status);
}

int32_t SimCore::AutoLogin(EsbHandle instance, const Prompt& prompt, int16_t& access,
                           EsbHandle& context) {
  Call call = EnterInstance(instance, Operation::EsbAutoLogin);
  if (call.status) return call.status;
  std::string storeServer;
  if (call.instance->store.serverName(storeServer) != 0) storeServer.clear();
  ServerLogin answer;
  if (int32_t status = prompt(storeServer, answer)) return status;
  // The prompt may have called the library: look the instance up again.
  auto it = instances_.find(instance);
  if (it == instances_.end()) return ESB_STS_BAD_INSTANCE;
  call.instance = it->second.get();
  int16_t userAccess = 0;
  const int32_t status = CheckLogin(*call.instance, answer, userAccess);
  if (status == 0) {
    access = userAccess;
    context = NewContext(instance, userAccess);
  }
  return Leave(call, Operation::EsbAutoLogin, status);
}

int32_t SimCore::Logout(EsbHandle context) {
  Call call = Enter(context, Operation::EsbLogout);
  if (call.status) return call.status;
  Leave(call, Operation::EsbLogout, 0);
  contexts_.erase(context);
  return 0;
}

}  // namespace esbsim
