// --access-case upper: rows go out with their access words in upper case, in
// lists and in the answers to writes, while the words a client sends are
// read as the reference spells them.
#include <gtest/gtest.h>

#include "tests/serve/ServeFixture.h"

namespace servetest {
namespace {

using nlohmann::json;

constexpr const char* kF2 = "/applications/Sample/databases/Basic/filters/F2";

std::string Words(const json& rows) {
  std::string out;
  for (const json& row : rows) out += row["access"].get<std::string>() + " ";
  return out;
}

TEST_F(ServeTest, UpperAccessCaseWritesEveryAccessWordInUpperCase) {
  Serve({}, {"--access-case", "upper"});
  auto client = Connect();
  const Answer written = client->Put(
      kF2, R"({"rows":[{"access":"Read","mbrSpec":"a"},{"access":"Write","mbrSpec":"b"},)"
           R"({"access":"MetaRead","mbrSpec":"c"},{"access":"None","mbrSpec":"d"}]})");
  ASSERT_EQ(written.status, 200) << written.body;
  EXPECT_EQ(Words(written.Json()["rows"]), "READ WRITE METAREAD NONE ");
  EXPECT_EQ(Words(client->Get(std::string(kF2) + "/rows").Json()["items"]),
            "READ WRITE METAREAD NONE ");
}

}  // namespace
}  // namespace servetest
