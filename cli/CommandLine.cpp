#include "cli/CommandLine.h"

#include <algorithm>
#include <vector>

#include "cli/Messages.h"

namespace cli {

namespace {

struct Piece {
  size_t begin;  // offset in the text
  std::string_view text;
};

std::vector<Piece> Split(std::string_view text) {
  std::vector<Piece> pieces;
  if (text.empty()) return pieces;
  size_t from = 0;
  for (;;) {
    size_t at = text.find(" -", from);
    if (at == std::string_view::npos) break;
    pieces.push_back({from, text.substr(from, at - from)});
    from = at + 2;
  }
  pieces.push_back({from, text.substr(from)});
  return pieces;
}

size_t LeadingBlanks(std::string_view s) {
  size_t n = 0;
  while (n < s.size() && s[n] == ' ') ++n;
  return n;
}

std::string_view Trim(std::string_view s) {
  s.remove_prefix(LeadingBlanks(s));
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The switch letter of a piece, or 0 when the piece is no switch.
char SwitchLetter(std::string_view piece) {
  std::string_view t = Trim(piece);
  std::string key;
  for (char c : t.substr(0, 2))
    if (c != ' ') key += c;
  if (key.size() == 2 && key[0] == '-')
    key.erase(0, 1);
  else if (key.size() != 1)
    return 0;
  switch (key[0]) {
    case 's':
    case 'd':
    case 'a':
    case 'i':
    case 'f':
    case 'p':
    case 't': return key[0];
    default: return 0;
  }
}

// Offset within the piece where its value starts (after the key and blanks).
size_t ValueOffset(std::string_view piece) {
  size_t lead = LeadingBlanks(piece);
  std::string_view t = Trim(piece);
  size_t at = lead + std::min<size_t>(2, t.size());
  return at + LeadingBlanks(piece.substr(at));
}

std::string_view Value(std::string_view piece) {
  std::string_view t = Trim(piece);
  return t.size() < 2 ? std::string_view() : Trim(t.substr(2));
}

// Where the password a piece carries begins, or npos. Besides the -p switch
// this takes pieces the grammar ignores but that were typed for a password
// (-pSecret after the first piece, -P), so that none reaches the log in clear.
size_t PasswordOffset(std::string_view piece) {
  if (SwitchLetter(piece) == 'p') return ValueOffset(piece);
  size_t at = LeadingBlanks(piece);
  if (at < piece.size() && piece[at] == '-') ++at;
  if (at == piece.size() || (piece[at] != 'p' && piece[at] != 'P')) return std::string_view::npos;
  ++at;
  return at + LeadingBlanks(piece.substr(at));
}

}  // namespace

std::string JoinArguments(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

BatchArguments ParseCommandLine(std::string_view text) {
  BatchArguments args;
  for (const Piece& piece : Split(text)) {
    std::string* field = nullptr;
    switch (SwitchLetter(piece.text)) {
      case 's': field = &args.server; break;
      case 'a': field = &args.application; break;
      case 'd': field = &args.database; break;
      case 'i': field = &args.user; break;
      case 'p': field = &args.password; break;
      case 'f': field = &args.file; break;
      case 't': field = &args.operation; break;
      default: break;
    }
    if (field) field->assign(Value(piece.text));
  }
  return args;
}

std::string MaskPasswords(std::string_view text) {
  std::vector<Piece> pieces = Split(text);
  std::string out;
  size_t copied = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const size_t offset = PasswordOffset(pieces[i].text);
    if (offset == std::string_view::npos) continue;
    size_t last = i;
    while (last + 1 < pieces.size() && SwitchLetter(pieces[last + 1].text) == 0) ++last;
    const Piece& end = pieces[last];
    size_t from = pieces[i].begin + offset;
    size_t to =
        end.begin + (Trim(end.text).empty() ? 0 : LeadingBlanks(end.text) + Trim(end.text).size());
    if (to > from) {
      out.append(text.substr(copied, from - copied));
      out.append(msg::PasswordMask);
      copied = to;
    }
    i = last;
  }
  out.append(text.substr(copied));
  return out;
}

std::string MaskUrlCredentials(std::string_view text) {
  std::string out(text);
  for (size_t scheme = out.find("://"); scheme != std::string::npos;
       scheme = out.find("://", scheme + 3)) {
    const size_t start = scheme + 3;
    const size_t end = std::min(out.find_first_of("/?# \t", start), out.size());
    const size_t at = out.rfind('@', end - (end > start ? 1 : 0));
    if (at == std::string::npos || at < start || at >= end) continue;
    out.replace(start, at - start, msg::PasswordMask);
  }
  return out;
}

}  // namespace cli
