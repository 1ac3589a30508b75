#pragma once
// Rules for the texts the server holds, shared by its faces, the store and
// the loader. Texts are UTF-8; limits count characters, as a current server
// has them (the client library's fields hold fewer: its face refuses what
// they cannot give).
#include <cstddef>
#include <string_view>

#include "sim/Utf8.h"

namespace esbsim {

constexpr size_t MaxApplicationName = 30;
constexpr size_t MaxDatabaseName = 30;
constexpr size_t MaxFilterName = 256;
constexpr size_t MaxServerName = 30;
constexpr size_t MaxUserName = 30;
constexpr size_t MaxPassword = 100;
constexpr size_t MaxRowText = 8192;

// Callers pass blank-padded fields: trailing blanks are not part of a name.
inline std::string_view TrimTrailingBlanks(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

// A plain loop: find_first_of with a set probes the set once per character,
// which shows on rows written by the million.
inline bool HasAny(std::string_view s, bool tab) {
  for (char c : s)
    if (c == '\r' || c == '\n' || c == '\0' || (tab && c == '\t')) return true;
  return false;
}

inline bool HasControlBreak(std::string_view s) {
  return HasAny(s, true);
}

// 1..max characters of UTF-8, no TAB, CR, LF or NUL.
inline bool ValidName(std::string_view name, size_t max) {
  if (name.empty() || HasControlBreak(name)) return false;
  const size_t chars = Utf8Length(name);
  return chars != NotUtf8 && chars <= max;
}

// A row may hold TABs but no line break, and must not be empty: an empty row
// reads back as the end of the rows and would hide those after it.
inline bool ValidRow(std::string_view row) {
  if (row.empty() || HasAny(row, false)) return false;
  const size_t chars = Utf8Length(row);
  return chars != NotUtf8 && chars <= MaxRowText;
}

}  // namespace esbsim
