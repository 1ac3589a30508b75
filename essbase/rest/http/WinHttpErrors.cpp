#include "essbase/rest/http/WinHttpErrors.h"

#include <winhttp.h>

#include "platform/win32/WideText.h"

namespace essbase::rest::http {

Reach ReachOfWinHttp(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_CANNOT_CONNECT: return Reach::Refused;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return Reach::Unresolved;
    case ERROR_WINHTTP_TIMEOUT: return Reach::TimedOut;
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE: return Reach::Lost;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
    case ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED: return Reach::Tls;
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_NOT_ENOUGH_MEMORY: return Reach::Setup;
    default: return Reach::Failed;
  }
}

std::string DescribeWinHttp(DWORD error) {
  std::string words;
  wchar_t* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                      FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS;
  if (FormatMessageW(flags, GetModuleHandleW(L"winhttp.dll"), error, 0,
                     reinterpret_cast<wchar_t*>(&text), 0, nullptr) &&
      text) {
    words = platform::win32::Narrow(text);
    LocalFree(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' '))
      words.pop_back();
  }
  const std::string number = "WinHTTP error " + std::to_string(error);
  return words.empty() ? number : number + ": " + words;
}

}  // namespace essbase::rest::http
