#pragma once
// The caller's output buffers checked against the sizes the library writes,
// before the library sees them: by the loader and the in-process simulator alike.
#include <algorithm>
#include <cstdint>
#include <span>

#include "essbase/Constants.h"

namespace essbase {

inline int32_t CheckAutoLoginBuffers(std::span<char> server, std::span<char> user,
                                     std::span<char> password, std::span<char> application,
                                     std::span<char> database) {
  const bool fit = server.size() >= NameBuffer && user.size() >= NameBuffer &&
                   password.size() >= PasswordBuffer && application.size() >= ObjectNameBuffer &&
                   database.size() >= ObjectNameBuffer;
  return fit ? 0 : ESB_STS_BUFFER_TOO_SMALL;
}

inline int32_t CheckItemBuffer(int16_t kind, std::span<char> buffer) {
  const int width = ItemWidth(kind);
  if (width == 0) return ESB_STS_BAD_ITEM_KIND;
  return buffer.size() < static_cast<size_t>(width) ? ESB_STS_BUFFER_TOO_SMALL : 0;
}

// The length handed over with a row buffer: the ABI's is 32 bits, so a larger
// buffer is offered in part. 0 for an empty buffer, which the caller refuses.
inline int32_t RowBufferLength(std::span<char> row) {
  return static_cast<int32_t>(std::min<size_t>(row.size(), INT32_MAX));
}

}  // namespace essbase
