#pragma once
// The password never shows in any text the backend makes, whatever the
// server echoed: as typed, URL-encoded, JSON-escaped, in the base64 of the
// basic authentication, or a part of one of these left at an end of a text
// that was cut.
#include <string>
#include <string_view>
#include <vector>

namespace essbase::rest {

class Scrubber {
 public:
  Scrubber() = default;
  Scrubber(std::string_view user, std::string_view password);

  // Every form of the password replaced by "****"; then, at either end, the
  // longest piece of at least MinPiece bytes that begins or ends a form.
  // The password is found byte by byte as it is, URL-encoded or
  // JSON-escaped, in any mix and letter case; its base64 forms whole.
  std::string Clean(std::string text) const;

  static constexpr size_t MinPiece = 4;
  static constexpr std::string_view Mask = "****";

 private:
  std::string password_;
  std::vector<std::string> encoded_;  // base64 forms, longest first
};

}  // namespace essbase::rest
