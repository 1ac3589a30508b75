#include "essbase/rest/http/WinHttpTrust.h"

#include <winhttp.h>

#include <vector>

namespace essbase::rest::http {

namespace {

constexpr char kBegin[] = "-----BEGIN CERTIFICATE-----";
constexpr char kEnd[] = "-----END CERTIFICATE-----";

// Errors a chain may carry and still be trusted through a private root:
// Windows does not know that root, and so cannot say how it may be used.
constexpr DWORD kUnknownRoot = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_NOT_VALID_FOR_USAGE;

struct Chain {
  PCCERT_CHAIN_CONTEXT context = nullptr;
  ~Chain() {
    if (context) CertFreeCertificateChain(context);
  }
};

}  // namespace

PrivateAuthority::~PrivateAuthority() {
  if (store_) CertCloseStore(store_, 0);
}

bool PrivateAuthority::Load(const std::string& pem, std::string& why) {
  store_ = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, CERT_STORE_CREATE_NEW_FLAG, nullptr);
  if (!store_) {
    why = "the certificate store could not be opened";
    return false;
  }
  size_t loaded = 0;
  for (size_t at = pem.find(kBegin); at != std::string::npos; at = pem.find(kBegin, at + 1)) {
    const size_t end = pem.find(kEnd, at);
    if (end == std::string::npos) break;
    const std::string block = pem.substr(at, end + sizeof(kEnd) - 1 - at);
    DWORD size = 0;
    const DWORD length = static_cast<DWORD>(block.size());
    if (!CryptStringToBinaryA(block.c_str(), length, CRYPT_STRING_BASE64HEADER, nullptr, &size,
                              nullptr, nullptr))
      continue;
    std::vector<BYTE> der(size);
    if (CryptStringToBinaryA(block.c_str(), length, CRYPT_STRING_BASE64HEADER, der.data(), &size,
                             nullptr, nullptr) &&
        CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, der.data(), size,
                                         CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
      ++loaded;
  }
  if (loaded > 0) return true;
  why = "holds no certificate Windows can read";
  CertCloseStore(store_, 0);
  store_ = nullptr;
  return false;
}

bool PrivateAuthority::Trusts(PCCERT_CONTEXT server, const std::wstring& host,
                              std::string& why) const {
  CERT_CHAIN_PARA para{};
  para.cbSize = sizeof(para);
  Chain chain;
  // The server's own intermediates come with its certificate's store.
  if (!CertGetCertificateChain(nullptr, server, nullptr, store_, &para, 0, nullptr,
                               &chain.context)) {
    why = "its certificate chain could not be built";
    return false;
  }
  const CERT_SIMPLE_CHAIN* simple = chain.context->rgpChain[0];
  const DWORD errors = chain.context->TrustStatus.dwErrorStatus;
  const bool privateRoot = [&] {
    if (!simple || simple->cElement == 0) return false;
    PCCERT_CONTEXT root = simple->rgpElement[simple->cElement - 1]->pCertContext;
    PCCERT_CONTEXT mine =
        CertFindCertificateInStore(store_, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, root, nullptr);
    if (mine) CertFreeCertificateContext(mine);
    return mine != nullptr;
  }();
  if (errors != CERT_TRUST_NO_ERROR && !(privateRoot && (errors & ~kUnknownRoot) == 0)) {
    why = privateRoot ? "its certificate chain is not valid"
                      : "its certificate was signed by no trusted authority";
    return false;
  }
  // The name (and dates) as Windows checks them for any TLS server.
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof(ssl);
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.fdwChecks = privateRoot ? SECURITY_FLAG_IGNORE_UNKNOWN_CA : 0;
  std::wstring name = host;
  ssl.pwszServerName = name.data();
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof(policy);
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof(status);
  if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.context, &policy, &status) ||
      status.dwError != 0) {
    why = status.dwError == static_cast<DWORD>(CERT_E_CN_NO_MATCH)
              ? "its certificate does not name the host"
              : "its certificate failed the checks of a TLS server";
    return false;
  }
  return true;
}

}  // namespace essbase::rest::http
