#include "essbase/AccessWords.h"

#include <array>
#include <utility>

#include "essbase/Constants.h"

namespace essbase {

namespace {

constexpr std::array<std::pair<int16_t, std::string_view>, 4> kWords = {{
    {AccessNone, "None"},
    {AccessRead, "Read"},
    {AccessWrite, "Write"},
    {AccessMetaRead, "MetaRead"},
}};

}  // namespace

std::optional<std::string_view> AccessWord(int16_t code) {
  for (const auto& [c, w] : kWords)
    if (c == code) return w;
  return std::nullopt;
}

std::optional<int16_t> AccessCode(std::string_view word) {
  for (const auto& [c, w] : kWords)
    if (w == word) return c;
  return std::nullopt;
}

}  // namespace essbase
