#pragma once
// Error answers: the HTTP status a server status maps to, and the bodies.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "sim/serve/SimGateway.h"

namespace httplib {
struct Response;
}

namespace esbsim::serve {

// 401 for an ended session or a refused login, 400 for what the server
// refuses (unknown objects, names and rows it cannot hold), else 500.
int HttpCode(int32_t status);

void Send(httplib::Response& res, int code, const nlohmann::json& body);
// One of the REST layer's own refusals (a 401 asks for basic credentials).
void Refuse(httplib::Response& res, int code, const std::string& message);
// A failed operation: its status travels as errorCode, except on a 401,
// which the web tier answers before any server status.
void Fail(httplib::Response& res, const Reply& reply);

}  // namespace esbsim::serve
