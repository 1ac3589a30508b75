#include "essbase/FilterRow.h"

#include <cstring>
#include <vector>

namespace essbase {

namespace {

// The row the library wrote, or a failure when its NUL is missing (the row
// is gone from the server by then, so it must not be read again).
int32_t Take(std::span<const char> buffer, std::string& row) {
  const void* end = std::memchr(buffer.data(), '\0', buffer.size());
  if (end == nullptr) return ESB_STS_BUFFER_TOO_SMALL;
  row.assign(buffer.data(), static_cast<const char*>(end));
  return 0;
}

}  // namespace

int32_t GetFilterRowWhole(EssbaseApi& api, Handle context, std::span<char> buffer, std::string& row,
                          int16_t& access) {
  row.clear();
  if (!buffer.empty()) buffer[0] = '\0';
  const int32_t status = api.EsbGetFilterRow(context, buffer, access);
  if (status == 0) return Take(buffer, row);
  // Only the server's own answer means the row is still pending.
  if (status != ESB_STS_BUFFER_TOO_SMALL || buffer.size() > static_cast<size_t>(MaxRowLength))
    return status;
  std::vector<char> whole(static_cast<size_t>(MaxRowLength) + 1, '\0');
  const int32_t again = api.EsbGetFilterRow(context, whole, access);
  return again == 0 ? Take(whole, row) : again;
}

}  // namespace essbase
