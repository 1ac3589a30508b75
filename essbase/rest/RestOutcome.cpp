#include "essbase/rest/RestOutcome.h"

#include "essbase/Constants.h"
#include "essbase/rest/RestJson.h"
#include "essbase/rest/RestStatus.h"

namespace essbase::rest {

namespace {

int32_t TransportStatus(Transport t) {
  switch (t) {
    case Transport::Connect: return RestStatusConnect;
    case Transport::Timeout: return RestStatusTimeout;
    case Transport::Tls: return RestStatusTls;
    case Transport::TooLarge: return RestStatusTooLarge;
    case Transport::Setup: return RestStatusSetup;
    default: return RestStatusTransfer;
  }
}

}  // namespace

Outcome Judge(const HttpResponse& r, bool loginRequest) {
  if (r.transport != Transport::Ok) return {TransportStatus(r.transport), r.error};
  if (r.code >= 200 && r.code < 300) return {};
  const std::string http = "HTTP " + std::to_string(r.code);
  if (r.code >= 300 && r.code < 400)
    return {RestStatusRedirect, http + ": the server redirects to " +
                                    (r.location.empty() ? "an unnamed place" : r.location) +
                                    "; redirects are not followed"};
  const ServerError e = ParseError(r.body);
  const std::string text = e.message.empty() ? http : http + ": " + e.message;
  if (r.code == 401) return {loginRequest ? ESB_STS_BAD_LOGIN : ESB_STS_RELOGIN, text};
  return {e.status != 0 ? e.status : RestStatusHttp, text};
}

}  // namespace essbase::rest
