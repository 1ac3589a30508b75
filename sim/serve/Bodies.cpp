#include "sim/serve/Bodies.h"

namespace esbsim::serve {

using nlohmann::json;

namespace {

json WithLinks(json body, json links) {
  if (!links.is_null()) body["links"] = std::move(links);
  return body;
}

}  // namespace

json FilterBody(const std::string& name, const std::optional<std::vector<WireRow>>& rows,
                json links) {
  json body = {{"name", name}};
  if (rows) body["rows"] = RowItems(*rows, 0, rows->size());
  return WithLinks(std::move(body), std::move(links));
}

json RowItems(const std::vector<WireRow>& rows, size_t begin, size_t end) {
  json items = json::array();
  for (size_t i = begin; i < end && i < rows.size(); ++i)
    items.push_back({{"access", rows[i].access}, {"mbrSpec", rows[i].mbrSpec}});
  return items;
}

json ApplicationBody(const std::string& name, bool started, json links) {
  // Every application of the simulated server stores blocks.
  return WithLinks({{"name", name}, {"status", started ? "started" : "stopped"}, {"type", "BSO"}},
                   std::move(links));
}

json CubeBody(const std::string& app, const std::string& db, json links) {
  return WithLinks({{"name", db}, {"application", app}, {"type", "BSO"}}, std::move(links));
}

json UserBody(const std::string& user, int16_t access, json links) {
  // The store knows read (273) and write (275) users; a writer manages filters.
  const char* role = access >= 275 ? "Service Administrator" : "User";
  return WithLinks(
      {{"id", user}, {"name", user}, {"email", ""}, {"role", role}, {"groups", json::array()}},
      std::move(links));
}

json SessionBody(const SessionView& s) {
  // Every field a string, numbers included, as the List Sessions example has them.
  return {{"userId", s.user},
          {"sessionId", std::to_string(s.number)},
          {"loginTimeInSeconds", std::to_string(s.seconds)},
          {"connectionSource", s.source}};
}

json AboutBody() {
  // The version is the release of the reference the server follows.
  return {{"name", "Essbase"},
          {"description", "The simulated Essbase server of Quorvel (esbsim serve)."},
          {"version", "21.5.0.0.0"},
          {"build", QUORVEL_VERSION}};
}

bool ReadFilterBean(const std::string& text, std::string& name, std::vector<WireRow>& rows,
                    std::string& why) {
  const json body = json::parse(text, nullptr, false);
  name.clear();
  rows.clear();
  if (!body.is_object()) {
    why = "the body is not a JSON object";
    return false;
  }
  if (auto it = body.find("name"); it != body.end()) {
    if (!it->is_string()) {
      why = "\"name\" is not a string";
      return false;
    }
    name = it->get<std::string>();
  }
  auto it = body.find("rows");
  if (it == body.end()) return true;
  if (!it->is_array()) {
    why = "\"rows\" is not an array";
    return false;
  }
  for (const json& r : *it) {
    const std::string at = "row " + std::to_string(rows.size() + 1);
    if (!r.is_object() || !r.contains("access") || !r.contains("mbrSpec") ||
        !r["access"].is_string() || !r["mbrSpec"].is_string()) {
      why = at + " is not an object with the strings \"access\" and \"mbrSpec\"";
      return false;
    }
    rows.push_back({r["access"].get<std::string>(), r["mbrSpec"].get<std::string>()});
  }
  return true;
}

json ErrorBody(const std::string& message, std::optional<int32_t> code) {
  json body = {{"errorMessage", message}};
  if (code) body["errorCode"] = *code;
  return body;
}

}  // namespace esbsim::serve
