// The REST client's reading of server answers on any bytes: never a crash,
// and a refusal always says why; what is accepted converts for the C ABI
// without a stand-in character.
#include <cstdint>
#include <string>
#include <string_view>

#include "essbase/rest/RestJson.h"
#include "essbase/rest/WireMapping.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  using namespace essbase::rest;
  std::string why, name, status;
  NameList list;
  if (ParseNameList(body, list, why)) {
    for (const auto& n : list.names) {
      const Item item = ToItem(n, 30, {}, "filter");
      FUZZ_CHECK(item.status != 0 ? !item.text.empty() : item.field.size() == 30);
    }
  } else {
    FUZZ_CHECK(!why.empty());
  }
  std::vector<WireRow> rows;
  why.clear();
  if (ParseRowList(body, rows, why)) {
    const FilterRows out = ToCallerRows("F", rows);
    FUZZ_CHECK(out.status != 0 ? !out.text.empty() && out.rows.empty()
                               : out.rows.size() == rows.size());
    for (const Row& r : out.rows)
      FUZZ_CHECK(!r.text.empty() && r.text.find('\n') == std::string::npos);
  } else {
    FUZZ_CHECK(!why.empty());
  }
  why.clear();
  FUZZ_CHECK(ParseFilter(body, name, rows, why) || !why.empty());
  why.clear();
  FUZZ_CHECK(ParseApplication(body, name, status, why) || !why.empty());
  FUZZ_CHECK(ParseError(body).message.size() <= 303);
  return 0;
}
