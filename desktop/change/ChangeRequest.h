#pragma once
// What a change asks for, and which rows it hits.
#include <cstdint>
#include <string>
#include <string_view>

namespace desktop::change {

struct ChangeRequest {
  int16_t newAccess = 0;
  std::string searchText;  // used as typed: not trimmed, may be empty
};

// A row matches when the search text occurs anywhere in its text, letter
// case aside; an empty search text matches every row.
//
// Texts exchanged with the server are single-byte, and the window shows and
// takes them as Latin-1, so letters fold by the Latin-1 case pairs (A-Z and
// the accented capitals 0xC0-0xDE but the multiplication sign) whatever the
// process locale: the same search hits the same rows on every workstation.
// Nothing else is equated (no ligatures, no accents dropped); a blank is a
// character like any other.
class RowMatcher {
 public:
  explicit RowMatcher(std::string_view searchText);
  bool Matches(std::string_view rowText) const;

 private:
  std::string folded_;
};

// Latin-1 lower-case of one byte.
char FoldCase(char c);

}  // namespace desktop::change
