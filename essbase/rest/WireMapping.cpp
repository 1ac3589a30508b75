#include "essbase/rest/WireMapping.h"

#include <cstring>

#include "essbase/AccessWords.h"
#include "essbase/library/ByteOrder.h"
#include "essbase/Latin1.h"
#include "essbase/rest/RestStatus.h"

namespace essbase::rest {

namespace {

bool HasBreak(std::string_view s, bool tab) {
  for (char c : s)
    if (c == '\r' || c == '\n' || c == '\0' || (tab && c == '\t')) return true;
  return false;
}

std::string Quoted(const std::string& utf8) {
  return "\"" + utf8 + "\"";
}

}  // namespace

Item ToItem(const std::string& utf8, size_t width, const std::string& prefix, const char* what) {
  Item item;
  std::string latin1;
  size_t badAt = 0;
  const std::string named = std::string(what) + " name " + Quoted(utf8);
  if (!Utf8ToLatin1(utf8, latin1, badAt)) {
    item.status = RestStatusNameNotServed;
    item.text = named + " has a character Latin-1 cannot hold at byte " + std::to_string(badAt);
  } else if (latin1.size() > width) {
    item.status = RestStatusNameNotServed;
    item.text = named + " is longer than its " + std::to_string(width) + "-character field";
  } else if (latin1.empty() || HasBreak(latin1, true)) {
    item.status = RestStatusNameNotServed;
    item.text = named + " is empty or holds a TAB, CR, LF or NUL";
  } else {
    item.field = prefix + std::string(width, '\0');
    PutFixed(reinterpret_cast<uint8_t*>(item.field.data() + prefix.size()), width, latin1);
  }
  return item;
}

FilterRows ToCallerRows(const std::string& filter, const std::vector<WireRow>& rows) {
  FilterRows out;
  out.rows.reserve(rows.size());
  const std::string named = "filter " + Quoted(Latin1ToUtf8(filter));
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string at = named + " row " + std::to_string(i + 1);
    Row row;
    size_t badAt = 0;
    std::string why;
    const auto code = AccessCode(rows[i].access);
    if (!code)
      why = at + " has the access word " + Quoted(rows[i].access) + ", which no code stands for";
    else if (!Utf8ToLatin1(rows[i].mbrSpec, row.text, badAt))
      why = at + " has a character Latin-1 cannot hold at byte " + std::to_string(badAt);
    else if (row.text.empty())
      why = at + " is empty, which would read as the end of the rows";
    else if (row.text.size() > MaxRowLength)
      why = at + " is longer than " + std::to_string(MaxRowLength) + " characters";
    else if (HasBreak(row.text, false))
      why = at + " holds CR, LF or NUL";
    if (!why.empty()) {
      out.status = RestStatusFilterNotServed;
      out.text = why;
      out.rows.clear();
      return out;
    }
    row.access = *code;
    out.rows.push_back(std::move(row));
  }
  return out;
}

int32_t ToWireRow(const char* row, int16_t access, WireRow& out, std::string& why) {
  const size_t n = strnlen(row, MaxRowLength + 1);
  const std::string_view text(row, n);
  if (text.empty() || n > MaxRowLength || HasBreak(text, false)) {
    why = "row refused: empty, longer than " + std::to_string(MaxRowLength) +
          " characters, or holding CR or LF";
    return ESB_STS_BAD_ROW;
  }
  const auto word = AccessWord(access);
  if (!word) {
    why = "row refused: access code " + std::to_string(access) + " has no REST access word";
    return RestStatusNoAccessWord;
  }
  out.access = std::string(*word);
  out.mbrSpec = Latin1ToUtf8(text);
  return 0;
}

int32_t NameArgument(const char* text, size_t max, std::string& name) {
  if (!text) return ESB_STS_NULL_ARGUMENT;
  constexpr size_t kScan = 4096;
  const size_t n = strnlen(text, kScan);
  std::string_view s(text, n);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  name.assign(s);
  if (n == kScan || name.empty() || name.size() > max || HasBreak(name, true))
    return ESB_STS_BAD_NAME;
  return 0;
}

}  // namespace essbase::rest
