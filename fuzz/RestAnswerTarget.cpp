// The REST backend's reading of server answers on any bytes: never a
// crash, a refusal always says why, and what is taken holds: a listing's
// names are usable and come once, a filter's rows are rows the programs can
// hold, a server's message never grows past what a failure shows.
#include <cstdint>
#include <string>
#include <string_view>

#include "essbase/rest/Judge.h"
#include "essbase/rest/Listing.h"
#include "essbase/rest/Rows.h"
#include "essbase/rest/Texts.h"
#include "essbase/rest/json/RestJson.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  using namespace essbase::rest;
  std::string why, name, status;
  ListPage page;

  http::Response answer;
  answer.status = 200;
  answer.body = std::string(body);
  NameListing listing("/f");
  int32_t failed = 0;
  if (listing.Take(answer, failed, why) == NameListing::State::Failed) {
    FUZZ_CHECK(!why.empty() && failed != 0);
  } else {
    for (const NameItem& item : listing.items) FUZZ_CHECK(NameFault(item.name).empty());
  }

  std::vector<WireRow> rows;
  why.clear();
  if (ParseRowPage(body, page, rows, why)) {
    FUZZ_CHECK(page.items == rows.size() && rows.size() <= MaxPageItems);
    for (size_t i = 0; i < rows.size(); ++i) {
      essbase::FilterRow row;
      why.clear();
      if (RowFromWire(rows[i], i + 1, "F", row, failed, why))
        FUZZ_CHECK(RowFault(row.text).empty());
      else
        FUZZ_CHECK(!why.empty());
    }
  } else {
    FUZZ_CHECK(!why.empty());
  }
  why.clear();
  FUZZ_CHECK(ParseApplication(body, name, status, why) || !why.empty());
  why.clear();
  FUZZ_CHECK(ParseSession(body, why) || !why.empty());

  answer.status = 500;
  const Judge judge("https://h/essbase", Scrubber("u", "pw12"), 1);
  const essbase::Failure f =
      judge.Of(answer, {essbase::Step::ReadFilter, "F", "GET filter rows", false});
  FUZZ_CHECK(f.failed() && f.serverText.size() <= Judge::MaxServerText + 3);
  FUZZ_CHECK(f.serverText.find("pw12") == std::string::npos);
  FUZZ_CHECK(Shown(f.serverText) == f.serverText);
  return 0;
}
