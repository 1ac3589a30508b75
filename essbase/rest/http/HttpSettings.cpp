#include "essbase/rest/http/HttpSettings.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace essbase::rest::http {

long TimeoutSeconds(const char* text) {
  if (!text || !*text) return DefaultTimeoutSeconds;
  long seconds = 0;
  for (const char* c = text; *c; ++c) {
    if (*c < '0' || *c > '9') return DefaultTimeoutSeconds;
    seconds = seconds * 10 + (*c - '0');
    if (seconds > MaxTimeoutSeconds) return DefaultTimeoutSeconds;
  }
  return seconds > 0 ? seconds : DefaultTimeoutSeconds;
}

CaFile ReadCaFile(const char* path) {
  CaFile ca;
  if (!path || !*path) return ca;
  ca.path = path;
  const std::string named = "QUORVEL_CA_FILE \"" + ca.path + "\"";
  // UTF-8 on every system: a plain string would be read in Windows' ANSI code page.
  const std::filesystem::path file(std::u8string(ca.path.begin(), ca.path.end()));
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) {
    ca.failure = named + " is a folder, not a certificate file";
    return ca;
  }
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  if (in) bytes << in.rdbuf();
  if (!in || in.bad()) {
    ca.failure = named + " cannot be read";
    return ca;
  }
  ca.pem = bytes.str();
  if (ca.pem.empty())
    ca.failure = named + " is empty";
  else if (ca.pem.find("-----BEGIN CERTIFICATE-----") == std::string::npos)
    ca.failure = named + " holds no PEM certificate";
  if (!ca.failure.empty()) ca.pem.clear();
  return ca;
}

}  // namespace essbase::rest::http
