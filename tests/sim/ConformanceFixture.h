#pragma once
// The simulated client library's conformance suite runs every case two
// ways: against the simulated server in this process, and through the C ABI
// of the built libesbapin.so. (The server interface's own suite, over both
// backends, is tests/conformance/.)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "essbase/library/EssbaseApi.h"
#include "essbase/Generation.h"
#include "tests/sim/SimTestSupport.h"

namespace simtest {

enum class Via { InProcess, Library };
inline void PrintTo(Via via, std::ostream* os) {
  *os << (via == Via::InProcess ? "in process" : "through libesbapin.so");
}

struct Row {
  int16_t access = 0;
  std::string text;
  bool operator==(const Row&) const = default;
};

// Server "srv", users u/pw (275) and r/rpw (273); applications in this
// order: Sample (loaded; Basic with Alpha, Beta, Empty; Spare without
// filters), FULLNAM8 (unloaded; DBFULL08 with a 30-character filter), Zeta
// (no databases).
extern const char* const kContent;
extern const char* const kLongFilter;

class Conformance : public ::testing::TestWithParam<Via> {
 protected:
  void SetUp() override;
  void TearDown() override;

  essbase::EssbaseApi& api() { return *api_; }
  essbase::Handle Init(essbase::Generation g = essbase::Generation::V6);
  essbase::Handle Login(essbase::Handle instance, const char* user = "u",
                        const char* password = "pw");
  // Both in one: a context of a new instance.
  essbase::Handle Connect(essbase::Generation g = essbase::Generation::V6) {
    return Login(Init(g));
  }

  // Items of the pending listing, each as its full field (fixed width).
  std::vector<std::string> Items(essbase::Handle context, int16_t kind, int16_t count);
  std::vector<std::string> FilterNames(essbase::Handle context, const char* app, const char* db);
  std::vector<Row> ReadRows(essbase::Handle context, const char* app, const char* db,
                            const char* filter, size_t buffer = 3000);
  void Write(essbase::Handle context, const char* app, const char* db, const char* filter,
             const std::vector<Row>& rows);

  TempStore store_;
  std::unique_ptr<essbase::EssbaseApi> api_;
  std::vector<essbase::Handle> instances_;
};

inline std::string ViaName(const ::testing::TestParamInfo<Via>& info) {
  return info.param == Via::InProcess ? "InProcess" : "Library";
}

#define SIM_EVERY_WAY(Suite)             \
  INSTANTIATE_TEST_SUITE_P(Every, Suite, \
                           ::testing::Values(Via::InProcess, Via::Library), ViaName)

// The text of a fixed-width field up to its first NUL.
std::string FieldText(const std::string& field);

}  // namespace simtest
