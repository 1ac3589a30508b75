#include "essbase/rest/Judge.h"

#include <charconv>

#include "essbase/Constants.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/Texts.h"
#include "essbase/rest/http/HttpSettings.h"
#include "essbase/rest/json/RestJson.h"

namespace essbase::rest {

bool NoAnswer(const http::Response& r) {
  switch (r.reach) {
    case http::Reach::Refused:
    case http::Reach::Unresolved:
    case http::Reach::TimedOut:
    case http::Reach::Lost: return true;
    default: return false;
  }
}

int32_t StatusInText(std::string_view text) {
  for (size_t at = text.find("Error"); at != std::string_view::npos;
       at = text.find("Error", at + 1)) {
    size_t i = at + 5;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size() || text[i] != '(') continue;
    const size_t start = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == start || i - start > 9 || i >= text.size() || text[i] != ')') continue;
    int32_t n = 0;
    std::from_chars(text.data() + start, text.data() + i, n);
    if (n != 0) return n;
  }
  return 0;
}

std::string Judge::Clean(std::string_view text) const {
  return scrubber_.Clean(Shown(text));
}

Failure Judge::Base(const Call& call) const {
  Failure f;
  f.step = call.step;
  f.filter = call.filter;
  f.call = call.name;
  return f;
}

std::string Judge::ServerText(long status, std::string_view message) const {
  std::string text = "HTTP " + std::to_string(status);
  if (!message.empty()) text += ": " + std::string(message);
  text = Clean(text);
  if (text.size() <= MaxServerText) return text;
  // Cut after scrubbing, and scrubbed again: a piece of the password may
  // end the part kept.
  return scrubber_.Clean(Cut(text, MaxServerText)) + "...";
}

std::string Judge::NoAnswerDetail(const http::Response& r, const Call& call) const {
  const std::string at = "the server at " + server_;
  switch (r.reach) {
    case http::Reach::TimedOut: return at + " did not answer in " + std::to_string(timeout_) + " s";
    case http::Reach::Refused: return at + " refused the connection";
    case http::Reach::Unresolved: return at + " could not be found: its host name is unknown";
    case http::Reach::Lost:
      return "the connection to " + at + " broke before the answer was whole (" + r.error + ")";
    case http::Reach::Tls:
      return at + " failed the TLS handshake or its certificate is not trusted (" + r.error + ")";
    case http::Reach::TooLarge:
      return "the answer to " + call.name + " passed the " +
             std::to_string(http::MaxAnswerBytes >> 20) + " MiB cap and was cut off";
    case http::Reach::Setup: return r.error;
    default: return "the request " + call.name + " failed (" + r.error + ")";
  }
}

Failure Judge::Of(const http::Response& r, const Call& call, bool login) const {
  Failure f = Base(call);
  if (r.reach != http::Reach::Answered) {
    switch (r.reach) {
      case http::Reach::TimedOut: f.status = RestStatusTimeout; break;
      case http::Reach::Refused:
      case http::Reach::Unresolved:
      case http::Reach::Lost: f.status = RestStatusConnect; break;
      case http::Reach::Tls: f.status = RestStatusTls; break;
      case http::Reach::TooLarge: f.status = RestStatusTooLarge; break;
      case http::Reach::Setup: f.status = RestStatusSetup; break;
      default: f.status = RestStatusTransfer; break;
    }
    f.detail = Clean(NoAnswerDetail(r, call));
    f.unreachable = NoAnswer(r);
    f.unknownOutcome = call.changes && r.sent;
    return f;
  }
  if (r.status >= 200 && r.status < 300) return {};
  const ErrorBody e = ParseErrorBody(r.body);
  f.serverText = ServerText(r.status, e.message);
  if (r.status >= 300 && r.status < 400) {
    f.status = RestStatusRedirect;
    f.detail = Clean("the server redirects " + call.name + " to " +
                     (r.location.empty() ? std::string("a place it does not name") : r.location) +
                     "; redirects are not followed");
    return f;
  }
  if (r.status == 401) {
    f.status = login ? ESB_STS_BAD_LOGIN : ESB_STS_RELOGIN;
    return f;
  }
  f.status = e.errorCode != 0 ? e.errorCode : StatusInText(e.message);
  if (f.status == 0) f.status = RestStatusHttp;
  return f;
}

Failure Judge::BadAnswer(const Call& call, std::string_view why) const {
  Failure f = Base(call);
  f.status = RestStatusBadAnswer;
  f.detail = Clean("the answer to " + call.name + " is not what it should be: " + std::string(why));
  return f;
}

Failure Judge::Own(const Call& call, int32_t status, std::string_view detail) const {
  Failure f = Base(call);
  f.status = status;
  f.detail = Clean(detail);
  return f;
}

}  // namespace essbase::rest
