// Server names and URLs: which backend a name goes to, and one form for the
// many spellings of one server's address.
#include <gtest/gtest.h>

#include "backup/BackupInfo.h"
#include "essbase/ServerAddress.h"

namespace essbase {
namespace {

TEST(ServerAddress, OnlyHttpAndHttpsUrlsGoOverRest) {
  EXPECT_TRUE(IsServerUrl("https://essbase.example.com/essbase"));
  EXPECT_TRUE(IsServerUrl("HTTP://host"));
  EXPECT_FALSE(IsServerUrl("essdemo"));
  EXPECT_FALSE(IsServerUrl("ftp://host"));
  EXPECT_FALSE(IsServerUrl("https:/host"));
  EXPECT_FALSE(IsServerUrl(" https://host"));
}

TEST(ServerAddress, CredentialsOnlyInTheAuthority) {
  EXPECT_TRUE(UrlCarriesCredentials("https://u:p@host/essbase"));
  EXPECT_TRUE(UrlCarriesCredentials("http://u@host"));
  EXPECT_FALSE(UrlCarriesCredentials("https://host/essbase/a@b"));
  EXPECT_FALSE(UrlCarriesCredentials("https://host?x=a@b"));
}

struct NormalCase {
  const char* given;
  const char* normal;
};

class NormalForm : public ::testing::TestWithParam<NormalCase> {};

TEST_P(NormalForm, OneFormForEverySpellingOfAServer) {
  EXPECT_EQ(NormalServer(GetParam().given), GetParam().normal);
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, NormalForm,
    ::testing::Values(NormalCase{"https://host:9001/essbase", "https://host:9001/essbase"},
                      NormalCase{"https://host:9001/essbase/", "https://host:9001/essbase"},
                      NormalCase{"https://host:9001/essbase/rest/v1", "https://host:9001/essbase"},
                      NormalCase{"https://host:9001/essbase/rest/v1/", "https://host:9001/essbase"},
                      NormalCase{"HTTPS://Host.Example.COM:443/essbase",
                                 "https://host.example.com/essbase"},
                      NormalCase{"http://host:80/essbase", "http://host/essbase"},
                      // Another scheme's default port is no default here.
                      NormalCase{"http://host:443/essbase", "http://host:443/essbase"},
                      NormalCase{"https://[::1]:443/essbase", "https://[::1]/essbase"},
                      NormalCase{"https://[::1]/essbase", "https://[::1]/essbase"},
                      NormalCase{"https://host", "https://host"},
                      NormalCase{"https://host/", "https://host"},
                      // The path keeps its letters; a name is not a URL.
                      NormalCase{"https://host/Essbase", "https://host/Essbase"},
                      NormalCase{"EssDemo", "EssDemo"}));

TEST(SameServer, BackupsOfOneServerMatchWhateverItsSpelling) {
  EXPECT_TRUE(backup::SameServer("https://host:9001/essbase", "HTTPS://HOST:9001/essbase/rest/v1/"));
  EXPECT_TRUE(backup::SameServer("https://host/essbase", "https://host:443/essbase/"));
  EXPECT_TRUE(backup::SameServer("essdemo", "ESSDEMO"));
  EXPECT_FALSE(backup::SameServer("https://host:9001/essbase", "https://host:9002/essbase"));
  EXPECT_FALSE(backup::SameServer("https://host/essbase", "http://host/essbase"));
  EXPECT_FALSE(backup::SameServer("https://host/essbase", "https://host/essbase2"));
}

}  // namespace
}  // namespace essbase
