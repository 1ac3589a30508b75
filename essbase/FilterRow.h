#pragma once
// Reading one row of the filter open for reading, whole, whatever the
// caller's buffer. Every reader of rows goes through here.
#include <cstdint>
#include <span>
#include <string>

#include "essbase/EssbaseApi.h"

namespace essbase {

// EsbGetFilterRow into `buffer`; when the server answers that the row does
// not fit (it keeps the row pending), the same row is read again into a
// buffer of the server's row maximum. On success `row` holds the row text
// (empty: no more rows) and `access` its access code. A buffer the library
// left without a NUL is a failure (ESB_STS_BUFFER_TOO_SMALL), never a row cut.
int32_t GetFilterRowWhole(EssbaseApi& api, Handle context, std::span<char> buffer, std::string& row,
                          int16_t& access);

}  // namespace essbase
