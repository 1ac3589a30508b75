#pragma once
// Certificates made by openssl for one test suite: authorities of the given
// names (NAME.pem, NAME.key) and a server certificate (server.pem,
// server.key) the first of them signed, for localhost and 127.0.0.1.
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace support {

inline bool MakeTestCertificates(const std::string& dir,
                                 const std::vector<std::string>& authorities) {
  if (authorities.empty()) return false;
  const std::string ec = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
  // Wine matches a certificate's DNS names only, Windows and OpenSSL either.
  WriteFile(dir + "/ext.cnf", "subjectAltName=DNS:localhost,IP:127.0.0.1\n");
  std::string script = "cd '" + dir + "'";
  for (const std::string& ca : authorities)
    script += " && openssl req -x509" + ec + "-keyout " + ca + ".key -out " + ca +
              ".pem -days 2 -subj /CN=" + ca;
  script += " && openssl req" + ec +
            "-keyout server.key -out server.csr -subj /CN=127.0.0.1 && openssl x509 -req -in "
            "server.csr -CA " +
            authorities.front() + ".pem -CAkey " + authorities.front() +
            ".key -CAcreateserial -out server.pem -days 2 -extfile ext.cnf";
  return std::system(("(" + script + ") >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace support
