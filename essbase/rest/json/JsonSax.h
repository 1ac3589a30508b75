#pragma once
// The event reader under every parse of an answer: nlohmann-json's SAX
// interface, with the place of each event kept (the keys and indexes above
// it) and nesting refused beyond MaxDepth. Only the JSON files include it.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace essbase::rest::json {

constexpr size_t MaxDepth = 64;

struct Level {
  bool array = false;
  size_t index = 0;  // the next element's, in an array
  std::string key;   // the member being read, in an object
};

// A value that is not an object or array.
struct Scalar {
  enum class Kind { Null, Boolean, Integer, Float, String } kind = Kind::Null;
  bool boolean = false;
  int64_t integer = 0;
  std::string* text = nullptr;  // may be moved from
  const char* type() const;
};

class Sax {
 public:
  virtual ~Sax() = default;
  // Reads body through the handler; false with why when the body is not
  // JSON or the handler refused it.
  bool Run(std::string_view body, std::string& why);

  // What a handler sees. `depth` is the number of open levels above the
  // value: 0 for the whole answer.
  virtual bool OnValue(const Scalar& value) = 0;
  virtual bool OnOpen(bool array) = 0;
  virtual bool OnClose(bool array) = 0;

  // nlohmann's SAX interface.
  using json = nlohmann::json;
  bool null();
  bool boolean(bool value);
  bool number_integer(json::number_integer_t value);
  bool number_unsigned(json::number_unsigned_t value);
  bool number_float(json::number_float_t value, const std::string& text);
  bool string(std::string& value);
  bool binary(json::binary_t& value);
  bool start_object(size_t elements);
  bool key(std::string& value);
  bool end_object();
  bool start_array(size_t elements);
  bool end_array();
  bool parse_error(size_t position, const std::string& token,
                   const nlohmann::detail::exception& error);

 protected:
  size_t depth() const { return levels_.size(); }
  // The key of the member being read at `level` (0: the answer's own).
  const std::string& KeyAt(size_t level) const { return levels_[level].key; }
  bool InArrayAt(size_t level) const { return levels_[level].array; }
  size_t IndexAt(size_t level) const { return levels_[level].index - 1; }
  // Stops the reading with this why.
  bool Refuse(std::string why) {
    why_ = std::move(why);
    return false;
  }

 private:
  bool Scalar_(const Scalar& value);
  std::vector<Level> levels_;
  std::string why_;
};

}  // namespace essbase::rest::json
