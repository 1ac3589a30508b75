#pragma once
// A private certificate authority beside the Windows certificate store.
// WinHTTP cannot be given one, so the handshake is let through an unknown
// root and the server's chain is checked here, before the request leaves.
#include <windows.h>
// after windows.h, which it needs
#include <wincrypt.h>

#include <string>

namespace essbase::rest::http {

class PrivateAuthority {
 public:
  PrivateAuthority() = default;
  ~PrivateAuthority();
  PrivateAuthority(const PrivateAuthority&) = delete;
  PrivateAuthority& operator=(const PrivateAuthority&) = delete;

  // The PEM certificates of QUORVEL_CA_FILE; false with why when none loads.
  bool Load(const std::string& pem, std::string& why);
  bool Empty() const { return store_ == nullptr; }
  // Whether the server's certificate chains to the system's roots or to one
  // of these, and names host; why not when it does not.
  bool Trusts(PCCERT_CONTEXT server, const std::wstring& host, std::string& why) const;

 private:
  HCERTSTORE store_ = nullptr;
};

}  // namespace essbase::rest::http
