#pragma once
// What an HTTP exchange means for the call that made it: a status for the
// caller and a text for FailureText.
#include <cstdint>
#include <string>

#include "essbase/rest/HttpClient.h"

namespace essbase::rest {

struct Outcome {
  int32_t status = 0;
  std::string text;  // empty on success
};

// 2xx succeeds. A 401 is a refused login for the login's own request, and an
// ended session (ESB_STS_RELOGIN) after it. Other failures give the Essbase
// status the server's error body names, else one of RestStatus.h.
Outcome Judge(const HttpResponse& response, bool loginRequest);

}  // namespace essbase::rest
