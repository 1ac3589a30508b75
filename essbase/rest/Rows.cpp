#include "essbase/rest/Rows.h"

#include "essbase/AccessWords.h"
#include "essbase/Constants.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/Texts.h"

namespace essbase::rest {

namespace {

std::string RowNamed(size_t number, std::string_view filter) {
  return "row " + std::to_string(number) + " of the filter " + Quoted(filter);
}

}  // namespace

std::optional<int16_t> AccessCodeOf(std::string_view word) {
  for (int16_t code : {AccessNone, AccessRead, AccessWrite, AccessMetaRead})
    if (EqualNoCase(*AccessWord(code), word)) return code;
  return std::nullopt;
}

bool RowFromWire(WireRow& wire, size_t number, std::string_view filter, FilterRow& row,
                 int32_t& status, std::string& why) {
  const std::optional<int16_t> code = AccessCodeOf(wire.access);
  if (!code) {
    status = RestStatusNoAccessWord;
    why = RowNamed(number, filter) + " has the access word " + Quoted(wire.access) +
          ", which no access code stands for";
    return false;
  }
  if (const std::string fault = RowFault(wire.mbrSpec); !fault.empty()) {
    status = RestStatusFilterNotServed;
    why = RowNamed(number, filter) + " " + fault;
    return false;
  }
  row.access = *code;
  row.text = std::move(wire.mbrSpec);
  return true;
}

bool RowsToWire(const Filter& filter, std::vector<WireRow>& wire, int32_t& status,
                std::string& why) {
  wire.clear();
  wire.reserve(filter.rows.size());
  for (size_t i = 0; i < filter.rows.size(); ++i) {
    const FilterRow& row = filter.rows[i];
    const std::optional<std::string_view> word = AccessWord(row.access);
    if (!word) {
      status = RestStatusNoAccessWord;
      why = RowNamed(i + 1, filter.name) + " has the access code " + std::to_string(row.access) +
            ", for which the REST API has no word";
      return false;
    }
    if (const std::string fault = RowFault(row.text); !fault.empty()) {
      status = ESB_STS_BAD_ROW;
      why = RowNamed(i + 1, filter.name) + " " + fault;
      return false;
    }
    wire.push_back({std::string(*word), row.text});
  }
  return true;
}

}  // namespace essbase::rest
