#include "desktop/change/ChangeRequest.h"

#include <algorithm>

namespace desktop::change {

namespace {

bool Ascii(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

// Decodes UTF-8 into folded code points. A byte that starts no UTF-8
// character stands for itself, as Latin-1: a text never fails to match.
void Fold(std::string_view text, std::u32string& out) {
  out.clear();
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2
                                                  : (c & 0xF8) == 0xF0 ? 3 : 4;
    char32_t cp = n == 1 ? (c & 0x1F) : n == 2 ? (c & 0x0F) : n == 3 ? (c & 0x07) : c;
    bool valid = n < 4 && i + n < text.size();
    for (size_t k = 1; valid && k <= n; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      valid = (b & 0xC0) == 0x80;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (!valid || (n > 0 && cp < 0x80)) {
      out.push_back(FoldCase(c));
      ++i;
      continue;
    }
    out.push_back(FoldCase(cp));
    i += n + 1;
  }
}

}  // namespace

char32_t FoldCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  // Latin-1 capitals with accents; 0xD7 is the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c < 0x100) return c;
  if (c == 0x178) return 0xFF;  // Y with diaeresis: its small letter is Latin-1's
  // Latin Extended-A: capitals and small letters alternate, with two runs
  // starting on the odd place.
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
      c != 0x17F) {
    const bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return (c % 2 == (oddRun ? 1u : 0u)) ? c + 1 : c;
  }
  // Greek and Cyrillic capitals.
  if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

std::optional<std::pair<char32_t, int>> FirstBeyondLatin1(std::string_view utf8) {
  int position = 0;
  for (size_t i = 0; i < utf8.size(); ++position) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
    char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k < n && i + k < utf8.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    if (cp > 0xFF) return std::pair{cp, position + 1};
    i += n;
  }
  return std::nullopt;
}

RowMatcher::RowMatcher(std::string_view searchText) : ascii_(Ascii(searchText)) {
  Fold(searchText, folded_);
  if (ascii_)
    for (char32_t c : folded_) asciiFolded_ += static_cast<char>(c);
}

bool RowMatcher::Matches(std::string_view rowText) const {
  if (folded_.empty()) return true;
  // Most rows and searches are ASCII: compared byte by byte.
  if (ascii_ && Ascii(rowText))
    return std::search(rowText.begin(), rowText.end(), asciiFolded_.begin(), asciiFolded_.end(),
                       [](char row, char search) {
                         return (row >= 'A' && row <= 'Z' ? row + ('a' - 'A') : row) == search;
                       }) != rowText.end();
  Fold(rowText, row_);
  return std::search(row_.begin(), row_.end(), folded_.begin(), folded_.end()) != row_.end();
}

}  // namespace desktop::change
