#include "sim/serve/ErrorAnswers.h"

#include <httplib.h>

#include "essbase/library/esbapin.h"
#include "sim/serve/Bodies.h"

namespace esbsim::serve {

using nlohmann::json;

int HttpCode(int32_t status) {
  switch (status) {
    case ESB_STS_RELOGIN:
    case ESB_STS_BAD_LOGIN: return 401;
    case ESB_STS_UNKNOWN_APPLICATION:
    case ESB_STS_UNKNOWN_DATABASE:
    case ESB_STS_UNKNOWN_FILTER:
    case ESB_STS_BAD_NAME:
    case ESB_STS_BAD_ROW:
    case ESB_STS_NULL_ARGUMENT:
    case ESB_STS_TOO_MANY_ITEMS: return 400;
    default: return 500;
  }
}

void Send(httplib::Response& res, int code, const json& body) {
  res.status = code;
  res.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace), "application/json");
}

void Refuse(httplib::Response& res, int code, const std::string& message) {
  if (code == 401) res.set_header("WWW-Authenticate", "Basic realm=\"essbase\"");
  Send(res, code, ErrorBody(message));
}

void Fail(httplib::Response& res, const Reply& reply) {
  const int code = HttpCode(reply.status);
  if (code == 401) return Refuse(res, code, reply.message);
  Send(res, code, ErrorBody(reply.message, reply.status));
}

}  // namespace esbsim::serve
