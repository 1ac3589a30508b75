#include "essbase/library/ReadFilterRow.h"

#include <cstring>

namespace essbase {

namespace {

// The row a successful call left in the buffer, or nothing when its NUL is missing.
bool RowText(std::span<char> buffer, std::string_view& text) {
  const void* nul = std::memchr(buffer.data(), '\0', buffer.size());
  if (!nul) return false;
  text = std::string_view(buffer.data(),
                          static_cast<size_t>(static_cast<const char*>(nul) - buffer.data()));
  return true;
}

}  // namespace

int32_t ReadFilterRow(EssbaseApi& api, Handle context, std::span<char> buffer,
                      std::vector<char>& spill, int16_t& access, std::string_view& text) {
  text = {};
  if (buffer.empty()) return ESB_STS_BUFFER_TOO_SMALL;
  buffer[0] = '\0';
  int32_t status = api.EsbGetFilterRow(context, buffer, access);
  // Only the server's refusal keeps the row pending; a row handed over
  // without its NUL is gone and must not be asked for again.
  if (status == ESB_STS_BUFFER_TOO_SMALL && buffer.size() < WholeRowBuffer) {
    spill.resize(WholeRowBuffer);
    spill[0] = '\0';
    buffer = spill;
    status = api.EsbGetFilterRow(context, buffer, access);
  }
  if (status != 0) return status;
  return RowText(buffer, text) ? 0 : ESB_STS_BUFFER_TOO_SMALL;
}

}  // namespace essbase
