#pragma once
// The one way to read a filter row: whole, whatever the caller's buffer. A row
// that does not fit is refused by the server and stays pending, so it is read
// again into a buffer of the server's row maximum.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "essbase/library/EssbaseApi.h"

namespace essbase {

// Room for the longest row a server keeps and its NUL.
constexpr size_t WholeRowBuffer = static_cast<size_t>(MaxRowLength) + 1;

// Reads the next row of the filter that EsbGetFilter opened. `buffer` is the
// caller's; `spill` is grown to WholeRowBuffer only when a row needs it and
// can be kept for the next call. On status 0, `text` is the row (empty: no
// further row) and `access` its access code. A row that reaches a buffer
// without its NUL is never taken: ESB_STS_BUFFER_TOO_SMALL.
int32_t ReadFilterRow(EssbaseApi& api, Handle context, std::span<char> buffer,
                      std::vector<char>& spill, int16_t& access, std::string_view& text);

}  // namespace essbase
