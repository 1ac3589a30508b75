#include "desktop/change/ChangeRequest.h"

#include <algorithm>

namespace desktop::change {

char FoldCase(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return static_cast<char>(u + ('a' - 'A'));
  // Latin-1 capitals with accents; 0xD7 is the multiplication sign.
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 0x20);
  return c;
}

RowMatcher::RowMatcher(std::string_view searchText) : folded_(searchText) {
  std::transform(folded_.begin(), folded_.end(), folded_.begin(), FoldCase);
}

bool RowMatcher::Matches(std::string_view rowText) const {
  if (folded_.empty()) return true;
  return std::search(rowText.begin(), rowText.end(), folded_.begin(), folded_.end(),
                     [](char row, char search) { return FoldCase(row) == search; }) !=
         rowText.end();
}

}  // namespace desktop::change
