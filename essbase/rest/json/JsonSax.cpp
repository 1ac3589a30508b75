#include "essbase/rest/json/JsonSax.h"

#include <limits>

namespace essbase::rest::json {

const char* Scalar::type() const {
  switch (kind) {
    case Kind::Null: return "null";
    case Kind::Boolean: return "boolean";
    case Kind::Integer:
    case Kind::Float: return "number";
    case Kind::String: return "string";
  }
  return "";
}

bool Sax::Run(std::string_view body, std::string& why) {
  levels_.clear();
  why_.clear();
  bool ok = false;
  try {
    ok = nlohmann::json::sax_parse(body.begin(), body.end(), this);
  } catch (...) {
    ok = false;
  }
  if (!ok) why = why_.empty() ? "the answer is not JSON" : why_;
  return ok;
}

bool Sax::Scalar_(const Scalar& value) {
  if (!levels_.empty() && levels_.back().array) ++levels_.back().index;
  return OnValue(value);
}

bool Sax::null() {
  return Scalar_({});
}

bool Sax::boolean(bool value) {
  Scalar s{Scalar::Kind::Boolean};
  s.boolean = value;
  return Scalar_(s);
}

bool Sax::number_integer(json::number_integer_t value) {
  Scalar s{Scalar::Kind::Integer};
  s.integer = value;
  return Scalar_(s);
}

bool Sax::number_unsigned(json::number_unsigned_t value) {
  if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
    return Scalar_({Scalar::Kind::Float});
  Scalar s{Scalar::Kind::Integer};
  s.integer = static_cast<int64_t>(value);
  return Scalar_(s);
}

bool Sax::number_float(json::number_float_t, const std::string&) {
  return Scalar_({Scalar::Kind::Float});
}

bool Sax::string(std::string& value) {
  Scalar s{Scalar::Kind::String};
  s.text = &value;
  return Scalar_(s);
}

bool Sax::binary(json::binary_t&) {
  return Refuse("the answer holds binary data");
}

bool Sax::start_object(size_t) {
  if (levels_.size() >= MaxDepth)
    return Refuse("the answer nests deeper than " + std::to_string(MaxDepth) + " levels");
  if (!levels_.empty() && levels_.back().array) ++levels_.back().index;
  if (!OnOpen(false)) return false;
  levels_.push_back({false, 0, {}});
  return true;
}

bool Sax::key(std::string& value) {
  levels_.back().key = value;
  return true;
}

bool Sax::end_object() {
  levels_.pop_back();
  return OnClose(false);
}

bool Sax::start_array(size_t) {
  if (levels_.size() >= MaxDepth)
    return Refuse("the answer nests deeper than " + std::to_string(MaxDepth) + " levels");
  if (!levels_.empty() && levels_.back().array) ++levels_.back().index;
  if (!OnOpen(true)) return false;
  levels_.push_back({true, 0, {}});
  return true;
}

bool Sax::end_array() {
  levels_.pop_back();
  return OnClose(true);
}

bool Sax::parse_error(size_t, const std::string&, const nlohmann::detail::exception&) {
  if (why_.empty()) why_ = "the answer is not JSON";
  return false;
}

}  // namespace essbase::rest::json
