#include "tests/serve/SchemaCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <set>

namespace servetest {

using nlohmann::json;

namespace {

// Words that describe a schema without constraining a value.
const std::set<std::string> kAnnotations = {"description", "xml",     "example",
                                            "title",       "default", "readOnly"};

bool HasType(const json& v, const std::string& type) {
  if (type == "object") return v.is_object();
  if (type == "array") return v.is_array();
  if (type == "string") return v.is_string();
  if (type == "boolean") return v.is_boolean();
  if (type == "integer") return v.is_number_integer();
  if (type == "number") return v.is_number();
  return false;
}

bool InFormat(const json& v, const std::string& format) {
  if (!v.is_number_integer()) return true;
  const bool negative = v.is_number_integer() && !v.is_number_unsigned() && v.get<int64_t>() < 0;
  if (format == "int64")
    return negative || v.get<uint64_t>() <= uint64_t(std::numeric_limits<int64_t>::max());
  if (format == "int32") {
    if (negative) return v.get<int64_t>() >= std::numeric_limits<int32_t>::min();
    return v.get<uint64_t>() <= uint64_t(std::numeric_limits<int32_t>::max());
  }
  return true;
}

}  // namespace

bool SchemaCheck::Load(const std::string& path, std::string& why) {
  std::ifstream in(path);
  const json file = json::parse(in, nullptr, false);
  if (file.is_discarded() || !file.contains("definitions") || !file["definitions"].is_object()) {
    why = path + ": no swagger definitions";
    return false;
  }
  for (const auto& [name, schema] : file["definitions"].items()) definitions_[name] = schema;
  return true;
}

std::vector<std::string> SchemaCheck::Errors(const json& value, const std::string& definition,
                                             bool strict) const {
  return ErrorsAgainst(value, {{"$ref", "#/definitions/" + definition}}, strict);
}

std::vector<std::string> SchemaCheck::ErrorsAgainst(const json& value, const json& schema,
                                                    bool strict) const {
  std::vector<std::string> errors;
  Walk(value, schema, "$", strict, 0, errors);
  return errors;
}

void SchemaCheck::Walk(const json& v, const json& schema, const std::string& at, bool strict,
                       int depth, std::vector<std::string>& errors) const {
  if (depth > 64) return errors.push_back(at + ": schemas nest too deep");
  if (!schema.is_object()) return errors.push_back(at + ": the schema is not an object");
  if (auto ref = schema.find("$ref"); ref != schema.end()) {
    const std::string prefix = "#/definitions/";
    const std::string target = ref->get<std::string>();
    const std::string name = target.rfind(prefix, 0) == 0 ? target.substr(prefix.size()) : "";
    if (!definitions_.contains(name)) return errors.push_back(at + ": no definition " + target);
    return Walk(v, definitions_[name], at, strict, depth + 1, errors);
  }
  for (const auto& [keyword, argument] : schema.items()) {
    if (kAnnotations.count(keyword)) continue;
    if (keyword == "type") {
      if (!HasType(v, argument.get<std::string>()))
        errors.push_back(at + ": " + v.dump() + " is not of type " + argument.get<std::string>());
    } else if (keyword == "format") {
      if (!InFormat(v, argument.get<std::string>()))
        errors.push_back(at + ": " + v.dump() + " is outside " + argument.get<std::string>());
    } else if (keyword == "enum") {
      bool listed = false;
      for (const json& allowed : argument) listed = listed || allowed == v;
      if (!listed) errors.push_back(at + ": " + v.dump() + " is not one of " + argument.dump());
    } else if (keyword == "required") {
      for (const json& name : argument)
        if (v.is_object() && !v.contains(name.get<std::string>()))
          errors.push_back(at + ": required \"" + name.get<std::string>() + "\" is missing");
    } else if (keyword == "items") {
      if (v.is_array())
        for (size_t i = 0; i < v.size(); ++i)
          Walk(v[i], argument, at + "[" + std::to_string(i) + "]", strict, depth + 1, errors);
    } else if (keyword == "properties" || keyword == "additionalProperties") {
      if (!v.is_object()) continue;
      const json& named = schema.contains("properties") ? schema["properties"] : json::object();
      for (const auto& [key, field] : v.items()) {
        const std::string where = at + "." + key;
        if (keyword == "properties" && named.contains(key)) {
          Walk(field, named[key], where, strict, depth + 1, errors);
        } else if (keyword == "additionalProperties" && !named.contains(key)) {
          if (argument.is_object()) Walk(field, argument, where, strict, depth + 1, errors);
          if (argument == false) errors.push_back(where + ": not allowed");
        } else if (keyword == "properties" && strict && !schema.contains("additionalProperties")) {
          errors.push_back(where + ": not a property of the definition");
        }
      }
    } else {
      errors.push_back(at + ": the check does not read \"" + keyword + "\"");
    }
  }
}

const SchemaCheck& Reference() {
  static const SchemaCheck check = [] {
    SchemaCheck c;
    std::string why;
    EXPECT_TRUE(c.Load(REST_REFERENCE, why)) << why;
    // The file defines no error body: this is the Validate Filter example's,
    // the one error body the reference pages show.
    c.Define("Error", {{"type", "object"},
                       {"required", {"errorMessage"}},
                       {"properties",
                        {{"errorMessage", {{"type", "string"}}},
                         {"errorCode", {{"type", "integer"}, {"format", "int32"}}}}}});
    // As the List Sessions example answers: a bare array.
    c.Define("Sessions",
             {{"type", "array"}, {"items", {{"$ref", "#/definitions/SessionAttributes"}}}});
    return c;
  }();
  return check;
}

}  // namespace servetest
