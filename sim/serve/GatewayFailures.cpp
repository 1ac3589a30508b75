#include "sim/serve/GatewayFailures.h"

#include "essbase/library/esbapin.h"
#include "sim/Names.h"

namespace esbsim::serve {

namespace {

std::string NameRule() {
  return "an application or database name holds 1 to " + std::to_string(MaxApplicationName) +
         " characters, a filter name 1 to " + std::to_string(MaxFilterName) +
         ", none of them a TAB or a line break";
}

}  // namespace

std::string RowRule() {
  return "a row holds 1 to " + std::to_string(MaxRowText) + " characters and no line break";
}

Reply Failed(int32_t status, const std::string& operation, const Names& n) {
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
    case ESB_STS_BAD_NAME: text = "a name cannot be held: " + NameRule(); break;
    case ESB_STS_BAD_ROW: text = operation + ": the row cannot be held: " + RowRule(); break;
    default: text = operation + " failed with status " + std::to_string(status);
  }
  return {status, text, {}, {}, false};
}

}  // namespace esbsim::serve
