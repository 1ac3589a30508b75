#include "essbase/rest/http/WinHttpExchange.h"

#include <algorithm>

#include "essbase/rest/http/HttpSettings.h"
#include "essbase/rest/http/WinHttpErrors.h"
#include "essbase/rest/http/WireUrl.h"
#include "platform/win32/WideText.h"

namespace essbase::rest::http {

namespace {

constexpr long kConnectSeconds = 15;
constexpr DWORD kReadChunk = 64 * 1024;

using Holder = std::shared_ptr<Exchange>;

void Close(Exchange& ex) {
  if (ex.closed || !ex.request) return;
  ex.closed = true;
  WinHttpCloseHandle(ex.request);
}

void Finish(Exchange& ex) {
  if (!ex.over) {
    ex.over = true;
    Completion c;
    c.tag = ex.tag;
    c.response = std::move(ex.response);
    {
      std::lock_guard<std::mutex> lock(ex.outbox->mutex);
      ex.outbox->done.emplace_back(ex.serial, std::move(c));
    }
    ex.outbox->ready.notify_all();
  }
  Close(ex);
}

void Fail(Exchange& ex, Reach reach, std::string error) {
  ex.response.reach = reach;
  ex.response.sent = ex.connected || reach == Reach::TooLarge;
  ex.response.error = std::move(error);
  ex.response.body.clear();
  ex.response.location.clear();
  Finish(ex);
}

void Fail(Exchange& ex, DWORD error) {
  Fail(ex, ReachOfWinHttp(error), DescribeWinHttp(error));
}

std::wstring Header(HINTERNET request, DWORD which, bool& present) {
  DWORD size = 0;
  present = false;
  WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                           WINHTTP_NO_HEADER_INDEX))
    return {};
  present = true;
  value.resize(size / sizeof(wchar_t));
  return value;
}

// False when the answer is over before its body.
bool ReadHeaders(Exchange& ex) {
  DWORD status = 0, size = sizeof(status);
  if (!WinHttpQueryHeaders(ex.request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    Fail(ex, GetLastError());
    return false;
  }
  ex.response.status = static_cast<long>(status);
  bool present = false;
  Header(ex.request, WINHTTP_QUERY_SET_COOKIE, present);
  if (present) ex.session->cookieSet = true;
  if (status >= 300 && status < 400) {
    const std::wstring location = Header(ex.request, WINHTTP_QUERY_LOCATION, present);
    if (present) ex.response.location = ResolveLocation(ex.url, platform::win32::Narrow(location));
  }
  const std::wstring length = Header(ex.request, WINHTTP_QUERY_CONTENT_LENGTH, present);
  unsigned long long declared = 0;
  for (wchar_t c : length) {
    if (c < L'0' || c > L'9' || declared > MaxAnswerBytes) break;
    declared = declared * 10 + static_cast<unsigned>(c - L'0');
  }
  // WinHTTP ends a body cut short as if it were whole: its length tells.
  bool encoded = false;
  Header(ex.request, WINHTTP_QUERY_CONTENT_ENCODING, encoded);
  if (present && !encoded && status != 204 && status != 304) ex.declared = declared;
  if (declared > MaxAnswerBytes) {
    Fail(ex, Reach::TooLarge, "the answer is larger than the size cap");
    return false;
  }
  return true;
}

// False when the exchange is over.
bool Take(Exchange& ex, DWORD bytes) {
  if (bytes == 0) {
    if (ex.declared != ~0ull && ex.response.body.size() < ex.declared) {
      Fail(ex, Reach::Lost, "the connection closed before the whole answer came");
      return false;
    }
    ex.response.reach = Reach::Answered;
    Finish(ex);
    return false;
  }
  if (ex.response.body.size() + bytes > MaxAnswerBytes) {
    Fail(ex, Reach::TooLarge, "the answer is larger than the size cap");
    return false;
  }
  ex.response.body.append(ex.buffer.data(), bytes);
  return true;
}

// Reads on while the reads complete inside WinHttpReadData, rather than
// nesting a callback per chunk.
void ReadMore(Exchange& ex) {
  for (;;) {
    ex.reading = true;
    ex.readInline = false;
    const BOOL started = WinHttpReadData(ex.request, ex.buffer.data(), kReadChunk, nullptr);
    ex.reading = false;
    if (!started) return Fail(ex, GetLastError());
    if (!ex.readInline || ex.over) return;
    if (!Take(ex, ex.lastRead)) return;
  }
}

// The private authority's check, once the handshake is done and before the
// request is sent: closing the request there stops Windows from sending it.
// (Wine sends it all the same: the channel sends a bare request first.)
bool Trusted(Exchange& ex) {
  if (!ex.authority) return true;
  PCCERT_CONTEXT cert = nullptr;
  DWORD size = sizeof(cert);
  std::string why = "its certificate could not be read";
  const bool trusted =
      WinHttpQueryOption(ex.request, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &cert, &size) && cert &&
      ex.authority->Trusts(cert, ex.host, why);
  if (cert) CertFreeCertificateContext(cert);
  if (!trusted) Fail(ex, Reach::Tls, "the server is not trusted: " + why);
  return trusted;
}

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
  if (!context) return;
  auto* holder = reinterpret_cast<Holder*>(context);
  if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
    // The last word on the request handle: its exchange may go.
    const Holder ex = std::move(*holder);
    delete holder;
    if (ex->connect) WinHttpCloseHandle(ex->connect);
    ex->connect = nullptr;
    return;
  }
  const Holder keep = *holder;  // closing inside this callback may free the holder
  Exchange& ex = *keep;
  std::lock_guard<std::recursive_mutex> lock(ex.mutex);
  if (ex.over || ex.closed) return;
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDING_REQUEST:
      if (Trusted(ex)) ex.connected = true;
      break;
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
      ex.connected = true;
      if (!WinHttpReceiveResponse(ex.request, nullptr)) Fail(ex, GetLastError());
      break;
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
      if (ReadHeaders(ex)) ReadMore(ex);
      break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
      if (ex.reading) {
        ex.readInline = true;
        ex.lastRead = length;
      } else if (Take(ex, length)) {
        ReadMore(ex);
      }
      break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
      Fail(ex, static_cast<WINHTTP_ASYNC_RESULT*>(info)->dwError);
      break;
    default: break;
  }
}

const wchar_t* Verb(Method method) {
  switch (method) {
    case Method::Get: return L"GET";
    case Method::Post: return L"POST";
    case Method::Put: return L"PUT";
    case Method::Delete: return L"DELETE";
  }
  return L"GET";
}

template <class T>
void Set(HINTERNET h, DWORD option, T value) {
  WinHttpSetOption(h, option, &value, sizeof(value));
}

}  // namespace

std::shared_ptr<WinHttpSession> OpenWinHttpSession() {
  auto s = std::make_shared<WinHttpSession>();
  // The system's proxy settings; the automatic kind needs Windows 8.1.
  for (DWORD access :
       {DWORD{WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY}, DWORD{WINHTTP_ACCESS_TYPE_DEFAULT_PROXY}}) {
    s->handle = WinHttpOpen(L"Quorvel", access, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                            WINHTTP_FLAG_ASYNC);
    if (s->handle) break;
  }
  if (!s->handle) return nullptr;
  if (WinHttpSetStatusCallback(s->handle, &OnStatus, WINHTTP_CALLBACK_FLAG_ALL_NOTIFICATIONS, 0) ==
      WINHTTP_INVALID_STATUS_CALLBACK)
    return nullptr;
  return s;
}

void Launch(const std::shared_ptr<Exchange>& ex, Method method, long timeoutSeconds) {
  std::lock_guard<std::recursive_mutex> lock(ex->mutex);
  const std::wstring url = platform::win32::Widen(EscapeForWire(ex->url));
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
    return Fail(*ex, Reach::Setup, "\"" + ex->url + "\" is not an http or https URL");
  ex->host.assign(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  const std::wstring extra(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  path += extra.substr(0, extra.find(L'#'));
  if (path.empty()) path = L"/";
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

  ex->connect = WinHttpConnect(ex->session->handle, ex->host.c_str(), parts.nPort, 0);
  // The path goes out as given: it is escaped already, like libcurl's.
  const DWORD flags = (secure ? WINHTTP_FLAG_SECURE : 0) | WINHTTP_FLAG_ESCAPE_DISABLE |
                      WINHTTP_FLAG_ESCAPE_DISABLE_QUERY;
  if (ex->connect)
    ex->request = WinHttpOpenRequest(ex->connect, Verb(method), path.c_str(), nullptr,
                                     WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
  if (!ex->request) {
    const DWORD error = GetLastError();
    if (ex->connect) WinHttpCloseHandle(ex->connect);
    ex->connect = nullptr;
    return Fail(*ex, Reach::Setup, "WinHTTP could not open the request: " + DescribeWinHttp(error));
  }
  auto* holder = new Holder(ex);
  auto context = reinterpret_cast<DWORD_PTR>(holder);
  if (!WinHttpSetOption(ex->request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof(context))) {
    const DWORD error = GetLastError();
    delete holder;
    WinHttpCloseHandle(ex->request);
    WinHttpCloseHandle(ex->connect);
    ex->request = ex->connect = nullptr;
    return Fail(*ex, Reach::Setup, "WinHTTP could not open the request: " + DescribeWinHttp(error));
  }

  const int total = static_cast<int>(std::min<long>(timeoutSeconds, 86400) * 1000);
  const int connect = static_cast<int>(std::min(kConnectSeconds, timeoutSeconds) * 1000);
  WinHttpSetTimeouts(ex->request, total, connect, total, total);
  // A redirect could carry the credentials to another host; answers to a
  // challenge are the caller's to give.
  Set<DWORD>(ex->request, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER);
  Set<DWORD>(ex->request, WINHTTP_OPTION_DISABLE_FEATURE,
             WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_AUTHENTICATION);
  Set<DWORD>(ex->request, WINHTTP_OPTION_AUTOLOGON_POLICY, WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH);
  // gzip and deflate only, as with libcurl; where WinHTTP cannot decode,
  // it asks for no compression at all.
  Set<DWORD>(ex->request, WINHTTP_OPTION_DECOMPRESSION, WINHTTP_DECOMPRESSION_FLAG_ALL);
  Set<DWORD>(ex->request, WINHTTP_OPTION_ENABLE_HTTP_PROTOCOL, WINHTTP_PROTOCOL_FLAG_HTTP2);
  // An authority WinHTTP cannot be given lets the handshake pass an unknown
  // root; the chain is checked before the request leaves.
  if (secure && ex->authority)
    Set<DWORD>(ex->request, WINHTTP_OPTION_SECURITY_FLAGS, SECURITY_FLAG_IGNORE_UNKNOWN_CA);
  ex->buffer.resize(kReadChunk);

  const bool withBody = (method == Method::Post || method == Method::Put) && !ex->body.empty();
  const auto bodyLength = static_cast<DWORD>(withBody ? ex->body.size() : 0);
  if (!WinHttpSendRequest(ex->request, ex->headers.c_str(), DWORD(-1),
                          withBody ? ex->body.data() : WINHTTP_NO_REQUEST_DATA, bodyLength,
                          bodyLength, context))
    Fail(*ex, GetLastError());
}

void Abandon(Exchange& ex) {
  ex.over = true;
  Close(ex);
}

}  // namespace essbase::rest::http
