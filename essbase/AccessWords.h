#pragma once
// Filter row access: the C API's codes and the REST API's words, shared by
// the REST client and the simulated server's REST front.
#include <cstdint>
#include <optional>
#include <string_view>

namespace essbase {

// ESS_ACCESS_METAREAD, 0x0118, from the C API reference's bitmask data types.
constexpr int16_t AccessMetaRead = 0x0118;

// nullopt for a code the REST API has no word for.
std::optional<std::string_view> AccessWord(int16_t code);
// nullopt for a word that stands for no code (compared exactly).
std::optional<int16_t> AccessCode(std::string_view word);

}  // namespace essbase
