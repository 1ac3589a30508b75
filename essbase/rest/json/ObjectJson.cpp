// Single objects: an application, the session, and the filter body sent.
#include "essbase/rest/json/JsonSax.h"
#include "essbase/rest/json/RestJson.h"

namespace essbase::rest {

namespace {

using json::Scalar;

// The string members of the answer's own object that are asked for.
class TopFieldsSax final : public json::Sax {
 public:
  TopFieldsSax(const char* what, std::vector<const char*> names)
      : what_(what), names_(std::move(names)), values_(names_.size()) {}

  bool OnValue(const Scalar& v) override {
    if (depth() == 0) return Refuse(std::string("the answer is ") + v.type() + ", not an object");
    if (depth() != 1) return true;
    const int i = Wanted(KeyAt(0));
    if (i < 0) return true;
    if (v.kind != Scalar::Kind::String)
      return Refuse(what_ + ": \"" + KeyAt(0) + "\" is " + v.type() + ", not a string");
    values_[static_cast<size_t>(i)] = std::move(*v.text);
    return true;
  }
  bool OnOpen(bool array) override {
    if (depth() == 0) return array ? Refuse("the answer is array, not an object") : true;
    if (depth() == 1 && Wanted(KeyAt(0)) >= 0)
      return Refuse(what_ + ": \"" + KeyAt(0) + "\" is " + (array ? "array" : "object") +
                    ", not a string");
    return true;
  }
  bool OnClose(bool) override { return true; }

  // The values asked for, all present; false with why naming a missing one.
  bool Take(std::vector<std::string>& out, std::string& why) {
    for (size_t i = 0; i < names_.size(); ++i) {
      if (!values_[i]) {
        why = what_ + " has no \"" + names_[i] + "\"";
        return false;
      }
      out.push_back(std::move(*values_[i]));
    }
    return true;
  }

 private:
  int Wanted(const std::string& key) const {
    for (size_t i = 0; i < names_.size(); ++i)
      if (key == names_[i]) return static_cast<int>(i);
    return -1;
  }
  std::string what_;
  std::vector<const char*> names_;
  std::vector<std::optional<std::string>> values_;
};

}  // namespace

bool ParseApplication(std::string_view body, std::string& name, std::string& status,
                      std::string& why) {
  TopFieldsSax sax("the application", {"name", "status"});
  std::vector<std::string> values;
  if (!sax.Run(body, why) || !sax.Take(values, why)) return false;
  name = std::move(values[0]);
  status = std::move(values[1]);
  return true;
}

bool ParseSession(std::string_view body, std::string& why) {
  TopFieldsSax sax("the session", {});
  return sax.Run(body, why);
}

std::optional<std::string> FilterBody(std::string_view name, const std::vector<WireRow>& rows) {
  using nlohmann::json;
  try {
    json body = json::object();
    body["name"] = std::string(name);
    json list = json::array();
    for (const WireRow& r : rows) list.push_back({{"access", r.access}, {"mbrSpec", r.mbrSpec}});
    body["rows"] = std::move(list);
    return body.dump();
  } catch (...) {
    return std::nullopt;  // not UTF-8
  }
}

}  // namespace essbase::rest
