#include "sim/serve/GatewayFailures.h"

#include "essbase/Latin1.h"
#include "essbase/library/esbapin.h"

namespace esbsim::serve {

Reply Failed(int32_t status, const std::string& operation, const Named& n) {
  std::string text;
  switch (status) {
    case ESB_STS_RELOGIN: text = "the session has ended: log in again"; break;
    case ESB_STS_BAD_LOGIN: text = "user name or password refused"; break;
    case ESB_STS_UNKNOWN_APPLICATION: text = "application \"" + n.app + "\" does not exist"; break;
    case ESB_STS_UNKNOWN_DATABASE:
      text = "database \"" + n.db + "\" does not exist in application \"" + n.app + "\"";
      break;
    case ESB_STS_UNKNOWN_FILTER:
      text = "filter \"" + n.filter + "\" does not exist in " + n.app + "." + n.db;
      break;
    default: text = operation + " failed with status " + std::to_string(status);
  }
  return {status, text, {}, {}, false};
}

namespace {

// A name from the wire as the store holds it.
bool StoreName(const char* kind, const std::string& utf8, std::string& latin1, Reply& refusal) {
  size_t badAt = 0;
  if (essbase::Utf8ToLatin1(utf8, latin1, badAt)) return true;
  refusal = {ESB_STS_BAD_NAME,
             std::string(kind) + " name \"" + utf8 + "\" cannot be held: not Latin-1 text",
             {},
             {},
             false};
  return false;
}

}  // namespace

bool StoreNames(const Named& wire, Named& latin1, Reply& refusal) {
  return StoreName("application", wire.app, latin1.app, refusal) &&
         StoreName("database", wire.db, latin1.db, refusal) &&
         StoreName("filter", wire.filter, latin1.filter, refusal);
}

}  // namespace esbsim::serve
