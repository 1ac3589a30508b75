#include "essbase/rest/RestJson.h"

#include <charconv>
#include <limits>
#include <nlohmann/json.hpp>

namespace essbase::rest {

using nlohmann::json;

namespace {

constexpr size_t kMaxDepth = 64;
constexpr size_t kMaxMessage = 300;

// Nesting beyond any answer of the API is refused before the parser sees it.
bool ShallowEnough(std::string_view body) {
  size_t depth = 0;
  bool inString = false;
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxDepth) return false;
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return true;
}

bool Parse(std::string_view body, json& value, std::string& why) {
  if (!ShallowEnough(body)) {
    why = "the answer nests deeper than " + std::to_string(kMaxDepth) + " levels";
    return false;
  }
  try {
    value = json::parse(body.begin(), body.end(), nullptr, false);
  } catch (...) {
    value = json::value_t::discarded;
  }
  if (value.is_discarded()) {
    why = "the answer is not JSON";
    return false;
  }
  return true;
}

const char* TypeName(const json& v) {
  return v.type_name();
}

// A member of an object that must be a string.
bool StringField(const json& object, const char* name, const std::string& where, std::string& out,
                 std::string& why) {
  auto it = object.find(name);
  if (it == object.end()) {
    why = where + " has no \"" + name + "\"";
    return false;
  }
  if (!it->is_string()) {
    why = where + ": \"" + name + "\" is " + TypeName(*it) + ", not a string";
    return false;
  }
  out = it->get<std::string>();
  return true;
}

bool ObjectAnswer(const json& value, std::string& why) {
  if (value.is_object()) return true;
  why = std::string("the answer is ") + TypeName(value) + ", not an object";
  return false;
}

bool ItemsArray(const json& value, const char* name, const json*& items, std::string& why) {
  if (!ObjectAnswer(value, why)) return false;
  auto it = value.find(name);
  if (it == value.end()) {
    why = std::string("the answer has no \"") + name + "\"";
    return false;
  }
  if (!it->is_array()) {
    why = std::string("\"") + name + "\" is " + TypeName(*it) + ", not an array";
    return false;
  }
  items = &*it;
  return true;
}

bool Rows(const json& array, const char* list, std::vector<WireRow>& rows, std::string& why) {
  rows.clear();
  rows.reserve(array.size());
  for (size_t i = 0; i < array.size(); ++i) {
    const std::string where = std::string(list) + "[" + std::to_string(i) + "]";
    const json& item = array[i];
    if (!item.is_object()) {
      why = where + " is " + TypeName(item) + ", not an object";
      return false;
    }
    WireRow row;
    if (!StringField(item, "access", where, row.access, why) ||
        !StringField(item, "mbrSpec", where, row.mbrSpec, why))
      return false;
    rows.push_back(std::move(row));
  }
  return true;
}

std::string Shortened(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  if (text.size() > kMaxMessage) text = text.substr(0, kMaxMessage) + "...";
  return text;
}

bool ToStatus(const json& v, int32_t& status) {
  int64_t n = 0;
  if (v.is_number_integer()) {
    n = v.get<int64_t>();
  } else if (v.is_string()) {
    const std::string s = v.get<std::string>();
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
  } else {
    return false;
  }
  if (n == 0 || n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
    return false;
  status = static_cast<int32_t>(n);
  return true;
}

// "Error(1051030)" or "Error (1051030)" as servers write statuses in messages.
int32_t StatusInText(std::string_view text) {
  for (size_t at = text.find("Error"); at != std::string_view::npos;
       at = text.find("Error", at + 1)) {
    size_t i = at + 5;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size() || text[i] != '(') continue;
    const size_t start = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == start || i - start > 9 || i >= text.size() || text[i] != ')') continue;
    int32_t n = 0;
    std::from_chars(text.data() + start, text.data() + i, n);
    if (n != 0) return n;
  }
  return 0;
}

}  // namespace

bool ParseNameList(std::string_view body, NameList& list, std::string& why) {
  json value;
  const json* items = nullptr;
  if (!Parse(body, value, why) || !ItemsArray(value, "items", items, why)) return false;
  list.names.clear();
  list.names.reserve(items->size());
  for (size_t i = 0; i < items->size(); ++i) {
    const json& item = (*items)[i];
    const std::string where = "items[" + std::to_string(i) + "]";
    if (!item.is_object()) {
      why = where + " is " + TypeName(item) + ", not an object";
      return false;
    }
    std::string name;
    if (!StringField(item, "name", where, name, why)) return false;
    list.names.push_back(std::move(name));
  }
  list.hasMore = false;
  auto more = value.find("hasMore");
  if (more != value.end()) {
    if (!more->is_boolean()) {
      why = std::string("\"hasMore\" is ") + TypeName(*more) + ", not a boolean";
      return false;
    }
    list.hasMore = more->get<bool>();
  }
  return true;
}

bool ParseRowList(std::string_view body, std::vector<WireRow>& rows, std::string& why) {
  json value;
  const json* items = nullptr;
  return Parse(body, value, why) && ItemsArray(value, "items", items, why) &&
         Rows(*items, "items", rows, why);
}

bool ParseFilter(std::string_view body, std::string& name, std::vector<WireRow>& rows,
                 std::string& why) {
  json value;
  if (!Parse(body, value, why) || !ObjectAnswer(value, why) ||
      !StringField(value, "name", "the filter", name, why))
    return false;
  rows.clear();
  if (!value.contains("rows")) return true;
  const json* array = nullptr;
  return ItemsArray(value, "rows", array, why) && Rows(*array, "rows", rows, why);
}

bool ParseApplication(std::string_view body, std::string& name, std::string& status,
                      std::string& why) {
  json value;
  return Parse(body, value, why) && ObjectAnswer(value, why) &&
         StringField(value, "name", "the application", name, why) &&
         StringField(value, "status", "the application", status, why);
}

bool ParseSession(std::string_view body, std::string& why) {
  json value;
  return Parse(body, value, why) && ObjectAnswer(value, why);
}

ServerError ParseError(std::string_view body) {
  ServerError e;
  json value;
  std::string why;
  if (!Parse(body, value, why) || !value.is_object()) {
    e.message = Shortened(std::string(body));
    e.status = StatusInText(body);
    return e;
  }
  for (const char* key : {"errorMessage", "message", "detail", "details", "error"}) {
    auto it = value.find(key);
    if (it != value.end() && it->is_string()) {
      e.message = Shortened(it->get<std::string>());
      break;
    }
  }
  auto code = value.find("errorCode");
  if (code == value.end() || !ToStatus(*code, e.status)) e.status = StatusInText(e.message);
  return e;
}

std::string FilterBody(std::string_view name, const std::vector<WireRow>& rows) {
  json body = json::object();
  body["name"] = std::string(name);
  json list = json::array();
  for (const WireRow& r : rows) list.push_back({{"access", r.access}, {"mbrSpec", r.mbrSpec}});
  body["rows"] = std::move(list);
  try {
    return body.dump();
  } catch (...) {
    return {};  // not UTF-8: the caller refuses to send it
  }
}

}  // namespace essbase::rest
