// List answers: the paging fields at the top, and of each item only the
// fields asked for; whatever else an item carries is read past unkept.
#include <functional>
#include <span>

#include "essbase/rest/json/JsonSax.h"
#include "essbase/rest/json/RestJson.h"

namespace essbase::rest {

namespace {

using json::Scalar;

struct Field {
  const char* name;
  bool required;
};

// The fields of one item, in the order asked; nullopt where absent.
using Values = std::vector<std::optional<std::string>>;
using Sink = std::function<void(Values& values)>;

class ItemsSax final : public json::Sax {
 public:
  ItemsSax(std::span<const Field> fields, ListPage& page, Sink sink)
      : fields_(fields), page_(page), sink_(std::move(sink)) {}

  bool Finish(std::string& why) {
    if (items_ == 0) {
      why = "the answer has no \"items\"";
      return false;
    }
    return true;
  }

  bool OnValue(const Scalar& v) override {
    const size_t d = depth();
    if (d == 0) return Refuse(std::string("the answer is ") + v.type() + ", not an object");
    if (d == 1) return Top(KeyAt(0), v);
    if (d == 2 && InItems()) return NotObject(v.type());
    if (d == 3 && InItems()) return Member(v);
    return true;
  }

  bool OnOpen(bool array) override {
    const char* type = array ? "array" : "object";
    const size_t d = depth();
    if (d == 0) return array ? Refuse("the answer is array, not an object") : true;
    if (d == 1) {
      const std::string& key = KeyAt(0);
      if (key == "items") {
        if (!array) return Refuse("\"items\" is object, not an array");
        if (++items_ > 1) return Refuse("the answer has \"items\" twice");
        return true;
      }
      if (IsPaging(key)) return Refuse("\"" + key + "\" is " + type + ", not a number");
      return true;
    }
    if (d == 2 && InItems()) {
      if (array) return NotObject(type);
      if (page_.items >= MaxPageItems)
        return Refuse("the page holds more than " + std::to_string(MaxPageItems) + " items");
      values_.assign(fields_.size(), std::nullopt);
      return true;
    }
    if (d == 3 && InItems() && Wanted(KeyAt(2)) >= 0)
      return Refuse(Where() + ": \"" + KeyAt(2) + "\" is " + type + ", not a string");
    return true;
  }

  bool OnClose(bool array) override {
    if (array || depth() != 2 || !InItems()) return true;
    for (size_t i = 0; i < fields_.size(); ++i)
      if (fields_[i].required && !values_[i])
        return Refuse(Where() + " has no \"" + fields_[i].name + "\"");
    ++page_.items;
    sink_(values_);
    return true;
  }

 private:
  static bool IsPaging(const std::string& key) {
    return key == "offset" || key == "limit" || key == "count" || key == "totalResults" ||
           key == "hasMore";
  }

  bool InItems() const { return KeyAt(0) == "items" && InArrayAt(1); }
  std::string Where() const { return "items[" + std::to_string(IndexAt(1)) + "]"; }
  bool NotObject(const char* type) { return Refuse(Where() + " is " + type + ", not an object"); }
  int Wanted(const std::string& key) const {
    for (size_t i = 0; i < fields_.size(); ++i)
      if (key == fields_[i].name) return static_cast<int>(i);
    return -1;
  }

  bool Top(const std::string& key, const Scalar& v) {
    if (key == "items") return Refuse(std::string("\"items\" is ") + v.type() + ", not an array");
    if (!IsPaging(key) || v.kind == Scalar::Kind::Null) return true;
    if (key == "hasMore") {
      if (v.kind != Scalar::Kind::Boolean)
        return Refuse(std::string("\"hasMore\" is ") + v.type() + ", not a boolean");
      page_.hasMore = v.boolean;
      return true;
    }
    if (v.kind != Scalar::Kind::Integer || v.integer < 0)
      return Refuse("\"" + key + "\" is not a count");
    if (key == "offset") page_.offset = v.integer;
    if (key == "limit") page_.limit = v.integer;
    if (key == "count") page_.count = v.integer;
    if (key == "totalResults") page_.totalResults = v.integer;
    return true;
  }

  bool Member(const Scalar& v) {
    const int i = Wanted(KeyAt(2));
    if (i < 0) return true;
    if (v.kind != Scalar::Kind::String)
      return Refuse(Where() + ": \"" + KeyAt(2) + "\" is " + v.type() + ", not a string");
    values_[static_cast<size_t>(i)] = std::move(*v.text);
    return true;
  }

  std::span<const Field> fields_;
  ListPage& page_;
  Sink sink_;
  Values values_;
  int items_ = 0;
};

bool ParseItems(std::string_view body, std::span<const Field> fields, ListPage& page,
                const Sink& sink, std::string& why) {
  page = {};
  ItemsSax sax(fields, page, sink);
  return sax.Run(body, why) && sax.Finish(why);
}

}  // namespace

bool ParseNamePage(std::string_view body, ListPage& page, std::vector<NameItem>& items,
                   std::string& why) {
  static constexpr Field kFields[] = {{"name", true}, {"status", false}, {"application", false}};
  items.clear();
  return ParseItems(
      body, kFields, page,
      [&](Values& v) {
        items.push_back({std::move(*v[0]), v[1].value_or(""), v[2].value_or("")});
      },
      why);
}

bool ParseRowPage(std::string_view body, ListPage& page, std::vector<WireRow>& rows,
                  std::string& why) {
  static constexpr Field kFields[] = {{"access", true}, {"mbrSpec", true}};
  rows.clear();
  return ParseItems(
      body, kFields, page,
      [&](Values& v) {
        rows.push_back({std::move(*v[0]), std::move(*v[1])});
      },
      why);
}

}  // namespace essbase::rest
