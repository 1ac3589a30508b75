#pragma once
// The answers' JSON shapes, each after its definition in the reference's
// OpenAPI file and the example bodies of its pages. links is null when the
// request asked for none (?links=none).
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "sim/serve/SimGateway.h"

namespace esbsim::serve {

// FilterBean. As the Get Filter example, a filter's own answer carries no
// rows: they are a resource of their own (rows stays nullopt).
nlohmann::json FilterBody(const std::string& name, const std::optional<std::vector<WireRow>>& rows,
                          nlohmann::json links);
// FilterRow, one per row.
nlohmann::json RowItems(const std::vector<WireRow>& rows, size_t begin, size_t end);
// Application.
nlohmann::json ApplicationBody(const std::string& name, bool started, nlohmann::json links);
// Cube.
nlohmann::json CubeBody(const std::string& app, const std::string& db, nlohmann::json links);
// UserBean, for the session's user (access as the store's user line has it).
nlohmann::json UserBody(const std::string& user, int16_t access, nlohmann::json links);
// SessionAttributes.
nlohmann::json SessionBody(const SessionView& session);
// About.
nlohmann::json AboutBody();

// A Create or Update Filter body (FilterBean): its name ("" when it has
// none) and rows. False, with why, when it is not one.
bool ReadFilterBean(const std::string& text, std::string& name, std::vector<WireRow>& rows,
                    std::string& why);

// An error's body. The Validate Filter example of the reference pages is the
// one error body they show: {"errorMessage": "...", "errorCode": 1054012}, the
// code being the server's status. So a refusal that comes from a server
// status carries it as errorCode; one of the REST layer's own (media type,
// query, body, path, authentication) has errorMessage alone.
nlohmann::json ErrorBody(const std::string& message, std::optional<int32_t> code = std::nullopt);

}  // namespace esbsim::serve
