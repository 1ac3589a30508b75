#pragma once
// Between the wire's texts (UTF-8, access words) and the C ABI's (Latin-1,
// fixed-width fields, access codes). Nothing is cut or replaced: what the C
// ABI cannot carry is refused with a status and a text naming it.
#include <cstdint>
#include <string>
#include <vector>

#include "essbase/rest/RestJson.h"
#include "essbase/rest/RestSession.h"

namespace essbase::rest {

// Longest listing a 16-bit count can announce.
constexpr size_t MaxListing = 32767;

// A listed name as a fixed-width field of width bytes after prefix (the
// application field of a database item). what names the kind ("filter").
Item ToItem(const std::string& utf8, size_t width, const std::string& prefix, const char* what);

// A filter's rows as the C ABI reads them; filter (Latin-1) is named in the
// failure text.
FilterRows ToCallerRows(const std::string& filter, const std::vector<WireRow>& rows);

// A row given to EsbSetFilterRow as it travels; ESB_STS_BAD_ROW for what the
// server refuses too (empty, longer than ESB_ROW_MAX, CR or LF),
// RestStatusNoAccessWord for a code without a word.
int32_t ToWireRow(const char* row, int16_t access, WireRow& out, std::string& why);

// Names as the C ABI passes them: trailing blanks dropped; BAD_NAME unless
// 1..max characters without TAB, CR, LF.
int32_t NameArgument(const char* text, size_t max, std::string& name);

}  // namespace essbase::rest
