// TLS: certificates are always verified; QUORVEL_CA_FILE adds a private
// authority to the system's, and a file that cannot serve as one fails
// every request by name before anything is sent.
#include <gtest/gtest.h>

#include "essbase/Constants.h"
#include "essbase/rest/RestServer.h"
#include "essbase/rest/RestStatus.h"
#include "tests/support/TestCertificates.h"
#include "tests/rest/Support.h"
#include "tests/rest/TestServer.h"
#include "tests/support/TestFiles.h"

namespace {

using namespace essbase;
using namespace essbase::rest;
using namespace resttest;

class Tls : public ::testing::Test {
 protected:
  // Two authorities, "good" and "other", and a server certificate for
  // 127.0.0.1 that "good" signed; made once for the suite.
  static void SetUpTestSuite() {
    certs_ = new support::TempDir("rest-tls");
    made_ = support::MakeTestCertificates(certs_->path(), {"good", "other"});
  }
  static void TearDownTestSuite() { delete certs_; }

  void SetUp() override {
    ASSERT_TRUE(made_) << "openssl could not make the test's certificates";
    Options o;
    o.cert = Path("server.pem");
    o.key = Path("server.key");
    server = std::make_unique<TestServer>(o);
    server->AddApplication("Sample");
  }
  static std::string Path(const std::string& name) { return *certs_ / name; }
  Failure LogIn(RestServer& rest) { return rest.LogIn({server->Url(), "u", "pw"}); }

  static support::TempDir* certs_;
  static bool made_;
  std::unique_ptr<TestServer> server;
};

support::TempDir* Tls::certs_ = nullptr;
bool Tls::made_ = false;

TEST_F(Tls, APrivateAuthorityGivenIsTrustedBesideTheSystems) {
  ScopedEnv ca("QUORVEL_CA_FILE", Path("good.pem"));
  RestServer rest;
  ASSERT_EQ(server->Url().rfind("https://", 0), 0u);
  ASSERT_FALSE(LogIn(rest)) << LogIn(rest).detail;
  std::vector<Application> apps;
  ASSERT_FALSE(rest.ListApplications(apps));
  EXPECT_EQ(apps.size(), 1u);
}

TEST_F(Tls, ACertificateNoTrustedAuthoritySignedIsRefused) {
  for (const char* given : {"other.pem", ""}) {
    ScopedEnv ca("QUORVEL_CA_FILE", *given ? Path(given) : std::string());
    RestServer rest;
    const Failure f = LogIn(rest);
    EXPECT_EQ(f.status, RestStatusTls) << given;
    EXPECT_TRUE(Has(f.detail, "failed the TLS handshake or its certificate is not trusted"))
        << f.detail;
    EXPECT_FALSE(f.unreachable);
  }
  EXPECT_EQ(server->requests(), 0);
}

TEST_F(Tls, ACaFileThatCannotServeFailsEveryRequestNamingIt) {
  support::TempDir dir("rest-ca");
  support::WriteFile(dir / "empty.pem", "");
  support::WriteFile(dir / "junk.pem", "hello\n");
  for (const std::string& path :
       {dir.path(), dir / "empty.pem", dir / "junk.pem", dir / "none.pem"}) {
    ScopedEnv ca("QUORVEL_CA_FILE", path);
    RestServer rest;
    const Failure f = LogIn(rest);
    EXPECT_EQ(f.status, RestStatusSetup) << path;
    EXPECT_TRUE(Has(f.detail, "QUORVEL_CA_FILE \"" + path + "\"")) << f.detail;
  }
  EXPECT_EQ(server->requests(), 0);
}

}  // namespace
