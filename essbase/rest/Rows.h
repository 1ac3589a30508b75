#pragma once
// A filter's rows between the wire (access words, UTF-8 texts) and the
// programs (access codes). What the other side cannot hold is refused with
// a status and a why naming the row and its filter, never changed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "essbase/Server.h"
#include "essbase/rest/json/RestJson.h"

namespace essbase::rest {

// The code of an access word as servers write it, in any letter case.
std::optional<int16_t> AccessCodeOf(std::string_view word);

// A row as read, number `number` (from 1) of `filter`: an access word no
// code stands for (RestStatusNoAccessWord), an empty row or one holding
// CR, LF or NUL (RestStatusFilterNotServed) is refused.
bool RowFromWire(WireRow& wire, size_t number, std::string_view filter, FilterRow& row,
                 int32_t& status, std::string& why);

// A filter's rows as sent, access words spelled as the reference does: a
// code without a word (RestStatusNoAccessWord) or a row the server cannot
// hold (ESB_STS_BAD_ROW) is refused.
bool RowsToWire(const Filter& filter, std::vector<WireRow>& wire, int32_t& status,
                std::string& why);

}  // namespace essbase::rest
