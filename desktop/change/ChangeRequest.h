#pragma once
// What a change asks for, and which rows it hits.
#include <cstdint>
#include <string>
#include <optional>
#include <string_view>
#include <utility>

namespace desktop::change {

struct ChangeRequest {
  int16_t newAccess = 0;
  std::string searchText;  // used as typed: not trimmed, may be empty
};

// A row matches when the search text occurs anywhere in its text, letter
// case aside; an empty search text matches every row.
//
// Letters fold by fixed case pairs whatever the process locale, so that the
// same search hits the same rows on every workstation: A-Z, the Latin-1
// accented capitals (0xC0-0xDE but the multiplication sign), Latin
// Extended-A, Greek and Cyrillic. Nothing else is equated (no ligatures, no
// accents dropped); a blank is a character like any other. Texts are UTF-8;
// a byte that starts no UTF-8 character stands for itself as Latin-1.
class RowMatcher {
 public:
  explicit RowMatcher(std::string_view searchText);
  bool Matches(std::string_view rowText) const;

 private:
  std::u32string folded_;
  bool ascii_ = false;
  std::string asciiFolded_;
  mutable std::u32string row_;  // the row being matched, folded
};

// The small letter of a capital, any other character as it is.
char32_t FoldCase(char32_t c);

// The first character of UTF-8 text that Latin-1 cannot hold, and its place
// from 1; none when all fit.
std::optional<std::pair<char32_t, int>> FirstBeyondLatin1(std::string_view utf8);

}  // namespace desktop::change
