#pragma once
// Holds JSON values to swagger 2.0 schemas, in the subset the reference's
// definitions use: type, properties, required, items, $ref, enum,
// additionalProperties and the formats int32 and int64. A keyword outside
// the subset is reported, never passed over, so that no answer passes by
// what the check does not read.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace servetest {

class SchemaCheck {
 public:
  // The definitions of a swagger 2.0 file; false, with why, when it has none.
  bool Load(const std::string& path, std::string& why);
  void Define(const std::string& name, nlohmann::json schema) { definitions_[name] = schema; }

  // strict: a property the schema does not name is an error too (the
  // reference allows them; an answer of this server must not invent fields).
  // Each error names where in the value it lies; none when it holds.
  std::vector<std::string> Errors(const nlohmann::json& value, const std::string& definition,
                                  bool strict = true) const;
  std::vector<std::string> ErrorsAgainst(const nlohmann::json& value, const nlohmann::json& schema,
                                         bool strict = true) const;

 private:
  void Walk(const nlohmann::json& value, const nlohmann::json& schema, const std::string& at,
            bool strict, int depth, std::vector<std::string>& errors) const;

  nlohmann::json definitions_ = nlohmann::json::object();
};

// The reference's definitions, with the two answers it shows by example
// only: the error body and the bare list of sessions.
const SchemaCheck& Reference();

}  // namespace servetest
